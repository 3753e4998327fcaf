#include "toolkit/file_dialog_text.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr wchar_t FILTER_SEPARATOR = L'|';
constexpr wchar_t DIRECTORY_SEPARATOR = L'\\';
constexpr wchar_t NAME_FORBIDDEN[] = L"\"*/:<>?\\|";

// Copies at most FILE_NAME_CAPACITY - 1 units of `source`, always terminated.
void CopyIntoFileName(wchar_t* fileName, const wchar_t* source) {
  const size_t length = std::min(std::wcslen(source), FILE_NAME_CAPACITY - 1);
  std::wmemcpy(fileName, source, length);
  fileName[length] = 0;
}

}  // namespace

MainHeapText AllocateMainHeapText(size_t units) {
  return MainHeapText(static_cast<wchar_t*>(AllocateFromMainHeap(units * sizeof(wchar_t))));
}

MainHeapText MakeFilterList(const wchar_t* filter) {
  const wchar_t* text = filter ? filter : L"";
  const size_t length = std::wcslen(text);
  MainHeapText list = AllocateMainHeapText(length + 3);
  if (!list) return list;
  for (size_t i = 0; i < length; ++i) list[i] = text[i] == FILTER_SEPARATOR ? 0 : text[i];
  return list;
}

MainHeapText SplitInitialFile(const wchar_t* initialFile, wchar_t* fileName) {
  const size_t length = std::wcslen(initialFile);
  MainHeapText directory = AllocateMainHeapText(length + 2);
  if (!directory) return directory;
  std::wmemcpy(directory.get(), initialFile, length);

  const wchar_t* lastSeparator = std::wcsrchr(directory.get(), DIRECTORY_SEPARATOR);
  if (lastSeparator && lastSeparator != directory.get()) {
    const size_t cut = static_cast<size_t>(lastSeparator - directory.get());
    CopyIntoFileName(fileName, initialFile + cut + 1);
    directory[cut] = 0;
  } else {
    CopyIntoFileName(fileName, initialFile);
    directory[0] = 0;
  }
  if (!IsAllowedFileName(fileName)) std::wmemset(fileName, 0, FILE_NAME_CAPACITY);
  return directory;
}

bool IsAllowedFileName(const wchar_t* name) {
  if (!*name) return false;
  for (const wchar_t* unit = name; *unit; ++unit) {
    if (*unit < L' ' || std::wcschr(NAME_FORBIDDEN, *unit)) return false;
  }
  return true;
}
