#include "verify/listed_file_path.h"

#include "sums/folder_separator.h"

namespace {

bool IsAbsolute(const Text& name) {
  if (!name.empty() && IsFolderSeparator(name[0])) return true;
#ifdef _WIN32
  return name.size() >= 2 && name[1] == L':';
#else
  return false;
#endif
}

}  // namespace

Text ListedFilePath(const Text& sumsFile, const Text& name) {
  if (IsAbsolute(name)) return name;
  size_t separator = Text::npos;
  for (size_t i = 0; i < sumsFile.size(); ++i) {
    if (IsFolderSeparator(sumsFile[i])) separator = i;
  }
  if (separator == Text::npos) return name;
  return sumsFile.substr(0, separator + 1) + name;
}
