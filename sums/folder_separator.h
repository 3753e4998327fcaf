#pragma once
// The character between folders in a path: '/' on POSIX; on Windows '\', which it writes, or '/',
// which it reads as well.

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
