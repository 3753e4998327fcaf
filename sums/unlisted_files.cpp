#include "sums/unlisted_files.h"

#include <algorithm>
#include <deque>
#include <set>

#include "sums/algorithm_by_file_name.h"
#include "sums/folder_entries.h"
#include "sums/folder_separator.h"
#include "sums/listed_file.h"
#include "sums/replace_file.h"

namespace {

// What signs or describes a sums file beside it, and sums files named by no algorithm.
constexpr const wchar_t* KIN_EXTENSIONS[] = {L".asc", L".sig", L".gpg", L".sign", L".minisig"};
constexpr const wchar_t* SUMS_EXTENSIONS[] = {L".sfv", L".hashdeep"};

bool EndsWith(const Text& text, const Text& ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), Text::npos, ending) == 0;
}

// Names compared as the file system compares them: on Windows without regard to case.
Text ComparedName(const Text& name) {
#ifdef _WIN32
  return LowerCaseAscii(name);
#else
  return name;
#endif
}

// `path` relative to `folder` with '/' between its parts, "." and ".." resolved; false for a path
// outside the folder.
bool RelativeName(const Text& folder, const Text& path, Text& relative) {
  if (path.compare(0, folder.size(), folder) != 0) return false;
  std::vector<Text> parts;
  Text part;
  const Text rest = path.substr(folder.size()) + L'/';
  for (wchar_t character : rest) {
    if (!IsFolderSeparator(character) && character != L'/') {
      part += character;
      continue;
    }
    if (part == L"..") {
      if (parts.empty()) return false;
      parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    part.clear();
  }
  relative.clear();
  for (const Text& each : parts) relative += (relative.empty() ? L"" : L"/") + each;
  return !relative.empty();
}

size_t Depth(const Text& relative) {
  return static_cast<size_t>(std::count(relative.begin(), relative.end(), L'/'));
}

class UnlistedSearch {
 public:
  UnlistedSearch(const Text& sumsFile, const std::vector<SumsEntry>& entries)
      : sumsFile(sumsFile), folder(SumsFileFolder(sumsFile)) {
    for (const SumsEntry& entry : entries) {
      const ListedFile file = FindListedFile(sumsFile, entry, true);
      Text relative;
      if (!file.refusal.empty() || !RelativeName(folder, file.path, relative)) continue;
      listed.insert(ComparedName(relative));
      depth = std::max(depth, Depth(relative));
    }
  }

  UnlistedFiles Run(const SearchGoOn& goOn) {
    std::deque<Text> folders = {Text()};  // relative, '/' at the end but for the top
    while (!folders.empty()) {
      if (goOn && !goOn()) {
        found.stopped = true;
        break;
      }
      ListOne(folders.front(), folders);
      folders.pop_front();
    }
    std::sort(found.names.begin(), found.names.end());
    return found;
  }

 private:
  void ListOne(const Text& relative, std::deque<Text>& folders) {
    std::vector<FolderEntry> entries;
    uint32_t error = 0;
    const Text path = folder.empty() && relative.empty() ? Text(L".") : folder + relative;
    if (!ListFolder(path, entries, error)) {
      found.unlistedFolders.push_back(relative.empty() ? Text(L".") : relative);
      return;
    }
    for (const FolderEntry& entry : entries) {
      const Text name = relative + entry.name;
      if (entry.kind == EntryKind::FOLDER && Depth(name) < depth) {
        folders.push_back(name + L'/');
      } else if (entry.kind == EntryKind::FILE && !listed.count(ComparedName(name)) &&
                 !IsSumsFileName(entry.name) &&
                 !(relative.empty() && IsSumsFileOrKin(sumsFile, entry.name))) {
        found.names.push_back(name);
      }
    }
  }

  const Text sumsFile;
  const Text folder;
  std::set<Text> listed;
  size_t depth = 0;
  UnlistedFiles found;
};

}  // namespace

Text SumsFileFolder(const Text& sumsFile) {
  return sumsFile.substr(0, sumsFile.size() - FileNamePart(sumsFile).size());
}

bool IsSumsFileName(const Text& name) {
  if (AlgorithmNamedBySumsFile(name)) return true;
  for (const wchar_t* extension : SUMS_EXTENSIONS) {
    if (EndsWith(LowerCaseAscii(name), extension)) return true;
  }
  return false;
}

bool IsSumsFileOrKin(const Text& sumsFile, const Text& name) {
  const Text own = ComparedName(FileNamePart(sumsFile));
  const Text compared = ComparedName(name);
  if (compared == own || IsSumsFileName(name) || IsReplacementOf(sumsFile, name)) return true;
  for (const wchar_t* extension : KIN_EXTENSIONS) {
    if (compared == own + extension) return true;
  }
  return false;
}

UnlistedFiles FindUnlistedFiles(const Text& sumsFile, const std::vector<SumsEntry>& entries,
                                const SearchGoOn& goOn) {
  return UnlistedSearch(sumsFile, entries).Run(goOn);
}
