#pragma once
// Every file below a folder, one at a time, in the order of their paths as a sums file writes
// them ('/' between folders, compared by their UTF-8 bytes, as `LC_ALL=C sort` orders lines), so
// that two walks of one tree give the same list. Links (symbolic links, junctions) are not
// followed, so that a walk ends; FIFOs, devices and sockets are passed over, so that it reads
// only files. Hidden and system files are files like any other.
#include <vector>

#include "runtime/text.h"
#include "sums/folder_entries.h"

struct WalkedFile {
  Text path;     // the folder as given, then the names below it; for ".", the names alone
  Text problem;  // a folder below that could not be listed: the system's reason; `path` is it
};

class FolderWalk {
 public:
  explicit FolderWalk(const Text& folder);
  // The next file, or folder that could not be listed; false when there are no more.
  bool Next(WalkedFile& file);
  // The links passed over so far.
  size_t LinksPassedOver() const { return linksPassedOver; }

 private:
  struct Folder {
    Text prefix;  // the folder's path, with a separator at its end
    std::vector<FolderEntry> entries;
    size_t next = 0;
  };

  // True with the problem in `file` when the folder cannot be listed.
  bool Enter(const Text& folder, WalkedFile& file);

  Text start;  // the folder given, until it is entered
  bool started = false;
  std::vector<Folder> open;  // innermost last
  size_t linksPassedOver = 0;
};

// Entries in the walk's order: a folder's name is compared as if followed by '/'.
void SortForWalk(std::vector<FolderEntry>& entries);
