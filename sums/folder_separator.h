#pragma once
// The character between folders in a path: '/' on POSIX; on Windows '\', which it writes, or '/',
// which it reads as well.
#include "runtime/text.h"

constexpr wchar_t FolderSeparator() {
#ifdef _WIN32
  return L'\\';
#else
  return L'/';
#endif
}

constexpr bool IsFolderSeparator(wchar_t character) {
#ifdef _WIN32
  return character == L'\\' || character == L'/';
#else
  return character == L'/';
#endif
}

// The last part of a path: what follows its last folder separator.
inline Text FileNamePart(const Text& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsFolderSeparator(path[i - 1])) return path.substr(i);
  }
  return path;
}
