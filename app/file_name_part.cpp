#include "app/file_name_part.h"

namespace {

constexpr wchar_t QUOTE = L'"';

bool IsPathSeparator(wchar_t unit) {
  return unit == L'\\' || unit == L'/';
}

// The name without its extension: cut before the last dot, unless a space comes after that dot,
// the dot ends the name, or the dot is the name's first character (".profile").
std::wstring_view WithoutExtension(std::wstring_view name) {
  for (size_t i = name.size(); i-- > 1;) {
    if (name[i] == L' ') break;
    if (name[i] == L'.') return i + 1 == name.size() ? name : name.substr(0, i);
  }
  return name;
}

}  // namespace

Text FileNamePart(std::wstring_view path, FileNameMode mode) {
  size_t start = !path.empty() && path[0] == QUOTE ? 1 : 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsPathSeparator(path[i])) start = i + 1;
  }
  std::wstring_view name = path.substr(start);
  name = name.substr(0, name.find(QUOTE));
  if (mode == FileNameMode::WITHOUT_EXTENSION) name = WithoutExtension(name);
  return Text(name);
}
