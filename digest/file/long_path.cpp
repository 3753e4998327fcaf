#include "digest/file/long_path.h"

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsDrivePath(const Text& path) {
  return path.size() >= 3 &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
         path[1] == L':' && IsSeparator(path[2]);
}

bool IsNetworkPath(const Text& path) {
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
         !IsSeparator(path[2]) && path[2] != L'?' && path[2] != L'.';
}

Text WithBackslashes(Text path) {
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

}  // namespace

Text ExtendedLengthPath(const Text& fullPath) {
  if (fullPath.size() <= CLASSIC_PATH_LIMIT) return fullPath;
  // The extended form is taken literally by the system, so it must use backslashes only.
  if (IsDrivePath(fullPath)) return L"\\\\?\\" + WithBackslashes(fullPath);
  if (IsNetworkPath(fullPath)) return L"\\\\?\\UNC\\" + WithBackslashes(fullPath.substr(2));
  return fullPath;
}
