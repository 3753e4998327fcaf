#include "sums/outside_names.h"

#include <algorithm>
#include <iterator>

namespace {

// Windows opens these as devices in any folder, in any case, with any extension.
constexpr const wchar_t* RESERVED_DEVICE_NAMES[] = {
    L"CON",  L"PRN",       L"AUX",       L"NUL",       L"CONIN$",    L"CONOUT$", L"COM0",
    L"COM1", L"COM2",      L"COM3",      L"COM4",      L"COM5",      L"COM6",    L"COM7",
    L"COM8", L"COM9",      L"COM\u00B9", L"COM\u00B2", L"COM\u00B3", L"LPT0",    L"LPT1",
    L"LPT2", L"LPT3",      L"LPT4",      L"LPT5",      L"LPT6",      L"LPT7",    L"LPT8",
    L"LPT9", L"LPT\u00B9", L"LPT\u00B2", L"LPT\u00B3"};

bool IsSeparator(wchar_t character) {
  return character == L'\\' || character == L'/';
}

wchar_t UpperAscii(wchar_t character) {
  return character >= L'a' && character <= L'z' ? character - L'a' + L'A' : character;
}

bool SameInAnyCase(const Text& text, const wchar_t* word) {
  size_t i = 0;
  for (; word[i]; ++i) {
    if (i == text.size() || UpperAscii(text[i]) != word[i]) return false;
  }
  return i == text.size();
}

// \\.\ and \\?\ (the Win32 device and verbatim prefixes) and \??\ (the object manager's).
bool HasNamespacePrefix(const Text& name) {
  if (name.size() < 4 || !IsSeparator(name[0]) || !IsSeparator(name[3])) return false;
  const bool win32 = IsSeparator(name[1]) && (name[2] == L'.' || name[2] == L'?');
  return win32 || (name[1] == L'?' && name[2] == L'?');
}

// The last part of the name as Windows matches it against the device names: no folders, no
// drive, nothing from the first dot or colon on, and no trailing blanks.
Text DeviceCandidate(const Text& name) {
  size_t start = name.size() >= 2 && name[1] == L':' ? 2 : 0;
  for (size_t i = start; i < name.size(); ++i) {
    if (IsSeparator(name[i])) start = i + 1;
  }
  Text part = name.substr(start);
  part = part.substr(0, part.find_first_of(L".:"));
  while (!part.empty() && part.back() == L' ') part.pop_back();
  return part;
}

bool IsReservedDeviceName(const Text& name) {
  const Text candidate = DeviceCandidate(name);
  return std::any_of(std::begin(RESERVED_DEVICE_NAMES), std::end(RESERVED_DEVICE_NAMES),
                     [&](const wchar_t* device) { return SameInAnyCase(candidate, device); });
}

}  // namespace

NameReach ReachOfWrittenName(const Text& name) {
  if (HasNamespacePrefix(name)) {
    // \\?\UNC\host\share is a share written the long way.
    const Text rest = name.substr(4, 4);
    const bool share =
        rest.size() == 4 && SameInAnyCase(rest.substr(0, 3), L"UNC") && IsSeparator(rest[3]);
    return share ? NameReach::NETWORK : NameReach::DEVICE_NAMESPACE;
  }
  if (name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1])) return NameReach::NETWORK;
  return IsReservedDeviceName(name) ? NameReach::DEVICE : NameReach::LOCAL;
}

Text NotOpenedReason(NameReach reach) {
  switch (reach) {
    case NameReach::NETWORK:
      return L"names a network location; not opened";
    case NameReach::DEVICE_NAMESPACE:
      return L"names a path in the system's device namespace; not opened";
    case NameReach::DEVICE:
      return L"names a device; not opened";
    case NameReach::LOCAL:
      break;
  }
  return Text();
}
