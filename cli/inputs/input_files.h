#pragma once
// The names to hash, in order: each FILE argument (on Windows with its wildcards expanded), then
// each name of the --files-from lists; with -r, a folder among them stands for every file below
// it, walked in sorted order, the names written relative to the folder as it was given. Links
// found on the walk are not followed, and FIFOs, devices and sockets found on it are passed over,
// so that a walk ends and reads only files.
#include <memory>
#include <vector>

#include "cli/options/command_line.h"
#include "sums/file_system.h"
#include "cli/inputs/files_from_list.h"
#include "digest/file/digest_file.h"
#include "runtime/text.h"

// A name to hash, or a problem to say in its place ("cannot read NAME: reason"): a pattern that
// matched nothing, a folder that could not be listed, a list that could not be read.
struct InputFileItem {
  Text name;
  Text problem;
  bool listUnreadable = false;  // the problem is a --files-from list's
};

class InputFiles {
 public:
  explicit InputFiles(const CliOptions& options);
  ~InputFiles();
  // The next name or problem; false when there are no more.
  bool Next(InputFileItem& item);

 private:
  struct Folder {
    Text prefix;  // the folder's name as given, with a separator at its end
    std::vector<FolderEntry> entries;
    size_t next = 0;
  };

  bool NextFromWalk(InputFileItem& item);
  bool Enter(const Text& folder, InputFileItem& item);
  void ExpandArgument(const Text& argument);
  bool NextFromLists(Text& name, InputFileItem& item);
  bool OpenList(const Text& list, InputFileItem& item);

  const CliOptions& options;
  size_t nextArgument = 0;
  std::vector<InputFileItem> expanded;  // of the current argument, in order
  size_t nextExpanded = 0;
  std::vector<Folder> walk;  // the folders being walked, innermost last
  size_t nextList = 0;
  std::unique_ptr<DigestFile> list;  // the list being read, or null
  FilesFromListReader listNames;
};
