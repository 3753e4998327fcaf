#include "cli/inputs/input_files.h"

#include <algorithm>

#include "sums/folder_separator.h"
#include "sums/unreadable_reason.h"

namespace {

constexpr uint32_t LIST_PIECE = 65536;

// Entries in the order `LC_ALL=C sort` gives their full paths: a folder's name is compared as if
// followed by its separator, and names by their bytes.
void SortForWalk(std::vector<FolderEntry>& entries) {
  std::vector<std::pair<std::string, FolderEntry>> keyed;
  keyed.reserve(entries.size());
  for (FolderEntry& entry : entries) {
    std::string key = NameBytesFromText(entry.name);
    if (entry.kind == EntryKind::FOLDER) key += static_cast<char>(FolderSeparator());
    keyed.emplace_back(std::move(key), std::move(entry));
  }
  std::sort(keyed.begin(), keyed.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  entries.clear();
  for (auto& [key, entry] : keyed) entries.push_back(std::move(entry));
}

InputFileItem Problem(const Text& name, const Text& reason) {
  return InputFileItem{Text(), CannotReadMessage(name, reason)};
}

}  // namespace

InputFiles::InputFiles(const CliOptions& options) : options(options) {}

InputFiles::~InputFiles() = default;

bool InputFiles::Next(InputFileItem& item) {
  for (;;) {
    if (!walk.empty()) {
      if (NextFromWalk(item)) return true;
      continue;
    }
    Text name;
    if (nextExpanded < expanded.size()) {
      item = expanded[nextExpanded++];
      if (!item.problem.empty()) return true;
      name = item.name;
    } else if (nextArgument < options.files.size()) {
      ExpandArgument(options.files[nextArgument++]);
      continue;
    } else if (!NextFromLists(name, item)) {
      return false;
    } else if (!item.problem.empty()) {
      return true;
    }
    if (options.recursive && name != STANDARD_INPUT_NAME && KindOf(name) == EntryKind::FOLDER) {
      if (Enter(name, item)) return true;
      continue;
    }
    item = InputFileItem{name, Text()};
    return true;
  }
}

void InputFiles::ExpandArgument(const Text& argument) {
  expanded.clear();
  nextExpanded = 0;
  std::vector<Text> names;
  uint32_t error = 0;
  if (!ExpandWildcards(argument, names, error)) {
    expanded.push_back(Problem(argument, SystemErrorMessage(error)));
    return;
  }
  for (Text& name : names) expanded.push_back(InputFileItem{std::move(name), Text()});
}

// True with a problem in `item` when the folder cannot be listed.
bool InputFiles::Enter(const Text& folder, InputFileItem& item) {
  Folder entered;
  uint32_t error = 0;
  if (!ListFolder(folder, entered.entries, error)) {
    item = Problem(folder, SystemErrorMessage(error));
    return true;
  }
  SortForWalk(entered.entries);
  const bool endsInSeparator = !folder.empty() && IsFolderSeparator(folder.back());
  entered.prefix = endsInSeparator ? folder : folder + FolderSeparator();
  walk.push_back(std::move(entered));
  return false;
}

bool InputFiles::NextFromWalk(InputFileItem& item) {
  Folder& current = walk.back();
  if (current.next == current.entries.size()) {
    walk.pop_back();
    return false;
  }
  const FolderEntry& entry = current.entries[current.next++];
  const Text path = current.prefix + entry.name;
  switch (entry.kind) {
    case EntryKind::FILE:
      item = InputFileItem{path, Text()};
      return true;
    case EntryKind::FOLDER:
      return Enter(path, item);
    default:
      return false;
  }
}

bool InputFiles::NextFromLists(Text& name, InputFileItem& item) {
  for (;;) {
    if (listNames.Next(name)) {
      item = InputFileItem{};
      return true;
    }
    if (!list) {
      if (nextList == options.fileLists.size()) return false;
      listNames = FilesFromListReader();
      if (!OpenList(options.fileLists[nextList++], item)) return true;
      continue;
    }
    uint8_t piece[LIST_PIECE];
    const int64_t got = list->ReadSome(piece, LIST_PIECE);
    if (got > 0) {
      listNames.Feed(reinterpret_cast<const char*>(piece), static_cast<size_t>(got));
      continue;
    }
    listNames.End();
    list.reset();
    if (got < 0) {
      // The names before the failure have been taken; the rest cannot be.
      item = Problem(options.fileLists[nextList - 1], ReadFailureReason());
      item.listUnreadable = true;
      return true;
    }
  }
}

// False with a problem in `item` when the list cannot be opened.
bool InputFiles::OpenList(const Text& name, InputFileItem& item) {
  list = std::make_unique<DigestFile>();
  if (name == STANDARD_INPUT_NAME) {
    if (list->OpenStandardInput()) return true;
    item = Problem(L"standard input", ReadFailureReason());
  } else {
    const FileOpening opening = list->OpenAnyReadable(name);
    if (opening.Opened()) return true;
    item = Problem(name, ReasonFor(opening));
  }
  item.listUnreadable = true;
  list.reset();
  return false;
}
