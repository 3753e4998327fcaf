#include "sums/sums_line_writer.h"

#ifdef _WIN32
namespace {

// "C:\...", "\\host\...", "\folder": names that do not travel.
bool IsAbsoluteOnWindows(const Text& name) {
  if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) return true;
  return name.size() >= 2 && name[1] == L':';
}

}  // namespace
#endif

Text PortableName(const Text& name) {
#ifdef _WIN32
  if (IsAbsoluteOnWindows(name)) return name;
  Text portable = name;
  for (wchar_t& character : portable) {
    if (character == L'\\') character = L'/';
  }
  return portable;
#else
  return name;
#endif
}

WrittenName SumsLineName(const Text& name) {
  return NameForSumsLine(PortableName(name));
}

Text GnuSumsLine(const Text& hex, const WrittenName& name) {
  return name.LineStart() + hex + L"  " + name.text;
}

std::string SumsFileBytes(const std::vector<Text>& lines) {
  std::string bytes;
  for (const Text& line : lines) {
    bytes += NameBytesFromText(line);
    bytes += '\n';
  }
  return bytes;
}
