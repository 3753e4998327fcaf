#include <windows.h>

#include <algorithm>

#include "sums/file_system.h"
#include "sums/folder_separator.h"
#include "digest/file/long_path.h"

namespace {

constexpr wchar_t WILDCARDS[] = L"*?";

EntryKind KindOfAttributes(DWORD attributes) {
  // Junctions and symbolic links alike are reparse points.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::LINK;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::FOLDER;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::OTHER;
  return EntryKind::FILE;
}

bool IsDotOrDotDot(const wchar_t* name) {
  return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

// Calls `take` with every entry the search pattern finds; false, with the error, when the search
// fails other than by finding nothing more.
template <typename Take>
bool FindEntries(const Text& pattern, uint32_t& error, Take take) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileExW(OpenablePath(pattern).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  do {
    if (!IsDotOrDotDot(found.cFileName)) take(found);
  } while (FindNextFileW(search, &found));
  error = GetLastError();
  FindClose(search);
  return error == ERROR_NO_MORE_FILES;
}

}  // namespace

EntryKind KindOf(const Text& path) {
  const DWORD attributes = GetFileAttributesW(OpenablePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::MISSING;
  // A name given is followed: a link to a folder is walked like the folder.
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::FOLDER;
  return KindOfAttributes(attributes & ~FILE_ATTRIBUTE_REPARSE_POINT);
}

bool ListFolder(const Text& folder, std::vector<FolderEntry>& entries, uint32_t& error) {
  const bool ends = !folder.empty() && IsFolderSeparator(folder.back());
  return FindEntries(folder + (ends ? L"*" : L"\\*"), error, [&](const WIN32_FIND_DATAW& found) {
    entries.push_back({found.cFileName, KindOfAttributes(found.dwFileAttributes)});
  });
}

bool ExpandWildcards(const Text& argument, std::vector<Text>& names, uint32_t& error) {
  const size_t lastPart = argument.find_last_of(L"\\/:") + 1;  // 0 when there is no folder part
  if (argument.find_first_of(WILDCARDS, lastPart) == Text::npos) {
    names.push_back(argument);
    return true;
  }
  const Text folder = argument.substr(0, lastPart);
  std::vector<Text> found;
  const bool listed = FindEntries(argument, error, [&](const WIN32_FIND_DATAW& entry) {
    found.push_back(folder + entry.cFileName);
  });
  if (found.empty()) {
    // A pattern that matches nothing is a file that is not there.
    if (listed || error == ERROR_NO_MORE_FILES) error = ERROR_FILE_NOT_FOUND;
    return false;
  }
  // In the order a folder's listing shows them: case does not count.
  std::sort(found.begin(), found.end(), [](const Text& a, const Text& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  });
  names.insert(names.end(), found.begin(), found.end());
  return true;
}
