// FileNamePart against a plain model of its rules, on any path. Each input byte is one code unit,
// so separators, quotes, dots and spaces come up often.
#include <cstdlib>

#include "app/file_name_part.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// What follows the last separator (or an opening quote when there is none), up to a quote.
Text ModelName(const Text& path) {
  const size_t separator = path.find_last_of(L"\\/");
  size_t start = !path.empty() && path[0] == L'"' ? 1 : 0;
  if (separator != Text::npos) start = separator + 1;
  const Text name = path.substr(start);
  return name.substr(0, name.find(L'"'));
}

// Cut before the last dot, unless the dot opens or ends the name or a space comes after it.
Text ModelWithoutExtension(const Text& name) {
  const size_t dot = name.rfind(L'.');
  if (dot == Text::npos || dot == 0 || dot + 1 == name.size()) return name;
  if (name.find(L' ', dot) != Text::npos) return name;
  return name.substr(0, dot);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text path(data, data + size);
  const Text name = ModelName(path);
  Require(FileNamePart(path) == name);
  Require(FileNamePart(path, FileNameMode::WITHOUT_EXTENSION) == ModelWithoutExtension(name));
  Require(FileNamePart(std::wstring_view()).empty());
  return 0;
}
