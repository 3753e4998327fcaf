#include "cli/inputs/input_files.h"

#include "sums/unreadable_reason.h"

namespace {

constexpr uint32_t LIST_PIECE = 65536;

InputFileItem Problem(const Text& name, const Text& reason) {
  return InputFileItem{Text(), CannotReadMessage(name, reason)};
}

}  // namespace

InputFiles::InputFiles(const CliOptions& options) : options(options) {}

InputFiles::~InputFiles() = default;

bool InputFiles::Next(InputFileItem& item) {
  for (;;) {
    if (walk) {
      WalkedFile file;
      if (walk->Next(file)) {
        item = file.problem.empty() ? InputFileItem{file.path, Text()}
                                    : Problem(file.path, file.problem);
        return true;
      }
      walk.reset();
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
      walk = std::make_unique<FolderWalk>(name);
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
