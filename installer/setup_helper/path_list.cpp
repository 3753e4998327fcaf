#include "installer/setup_helper/path_list.h"

#include <vector>

namespace {

constexpr char16_t SEPARATOR = u';';
constexpr char16_t QUOTE = u'"';

// Simple upper case of the letters whose case Windows folds in file names: Latin, Greek and
// Cyrillic; other characters compare as they are.
char16_t UpperCase(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
      (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F)) {
    return static_cast<char16_t>(c - 0x20);
  }
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  // Latin Extended-A pairs its letters upper, lower, apart from a few odd runs.
  bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F && (c % 2 == (oddLower ? 0 : 1))) {
    return static_cast<char16_t>(c - 1);
  }
  return c;
}

std::u16string_view FolderOf(std::u16string_view entry) {
  if (entry.size() >= 2 && entry.front() == QUOTE && entry.back() == QUOTE) {
    entry = entry.substr(1, entry.size() - 2);
  }
  while (!entry.empty() && entry.back() == u'\\') entry.remove_suffix(1);
  return entry;
}

// The entries as the system parts them: at each separator outside quotes. An empty PATH is one
// empty entry, so that parting and joining give back every value.
std::vector<std::u16string_view> Entries(std::u16string_view path) {
  std::vector<std::u16string_view> entries;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == QUOTE) quoted = !quoted;
    if (path[i] == SEPARATOR && !quoted) {
      entries.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  entries.push_back(path.substr(start));
  return entries;
}

// An entry holding the separator goes in quotes, so that the system reads it as one.
std::u16string QuotedWhenParted(std::u16string_view entry) {
  if (entry.find(SEPARATOR) == std::u16string_view::npos) return std::u16string(entry);
  return QUOTE + std::u16string(entry) + QUOTE;
}

}  // namespace

std::optional<RegistryText> ReadRegistryText(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string data(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  size_t end = data.find(u'\0');
  if (end == std::u16string::npos) end = data.size();
  std::u16string_view terminator = std::u16string_view(data).substr(end);
  if (terminator.find_first_not_of(u'\0') != std::u16string_view::npos) return std::nullopt;
  return RegistryText{data.substr(0, end), std::u16string(terminator)};
}

std::string RegistryBytes(const RegistryText& value) {
  const std::u16string stored = value.text + value.terminator;
  std::string bytes;
  bytes.reserve(2 * stored.size());
  for (char16_t c : stored) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

bool IsFolderName(std::u16string_view folder) {
  return !folder.empty() && folder.find(QUOTE) == std::u16string_view::npos;
}

bool PathQuotesClosed(std::u16string_view path) {
  size_t quotes = 0;
  for (char16_t c : path) quotes += c == QUOTE;
  return quotes % 2 == 0;
}

bool SamePathEntry(std::u16string_view a, std::u16string_view b) {
  a = FolderOf(a);
  b = FolderOf(b);
  if (a.size() != b.size() || a.empty()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperCase(a[i]) != UpperCase(b[i])) return false;
  }
  return true;
}

std::optional<std::u16string> PathWithEntry(std::u16string_view path, std::u16string_view entry) {
  for (std::u16string_view present : Entries(path)) {
    if (SamePathEntry(present, entry)) return std::nullopt;
  }
  std::u16string changed(path);
  if (!changed.empty()) changed += SEPARATOR;
  return changed += QuotedWhenParted(entry);
}

std::optional<std::u16string> PathWithoutEntry(std::u16string_view path,
                                               std::u16string_view entry) {
  std::u16string kept;
  bool removed = false;
  bool first = true;
  for (std::u16string_view present : Entries(path)) {
    if (SamePathEntry(present, entry)) {
      removed = true;
      continue;
    }
    if (!first) kept += SEPARATOR;
    kept += present;
    first = false;
  }
  if (!removed) return std::nullopt;
  return kept;
}
