#include "sums/folder_walk.h"

#include <algorithm>
#include <string>
#include <utility>

#include "sums/folder_separator.h"
#include "sums/unreadable_reason.h"

void SortForWalk(std::vector<FolderEntry>& entries) {
  std::vector<std::pair<std::string, FolderEntry>> keyed;
  keyed.reserve(entries.size());
  for (FolderEntry& entry : entries) {
    std::string key = NameBytesFromText(entry.name);
    // The separator a sums file writes, on every system, so that the order is the lines' order.
    if (entry.kind == EntryKind::FOLDER) key += '/';
    keyed.emplace_back(std::move(key), std::move(entry));
  }
  std::sort(keyed.begin(), keyed.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  entries.clear();
  for (auto& [key, entry] : keyed) entries.push_back(std::move(entry));
}

FolderWalk::FolderWalk(const Text& folder) : start(folder) {}

bool FolderWalk::Next(WalkedFile& file) {
  if (!started) {
    started = true;
    if (Enter(start, file)) return true;
  }
  while (!open.empty()) {
    Folder& current = open.back();
    if (current.next == current.entries.size()) {
      open.pop_back();
      continue;
    }
    const FolderEntry& entry = current.entries[current.next++];
    const Text path = current.prefix + entry.name;
    switch (entry.kind) {
      case EntryKind::FILE:
        file = WalkedFile{path, Text()};
        return true;
      case EntryKind::FOLDER:
        if (Enter(path, file)) return true;
        break;
      case EntryKind::LINK:
        ++linksPassedOver;
        break;
      default:
        break;
    }
  }
  return false;
}

bool FolderWalk::Enter(const Text& folder, WalkedFile& file) {
  Folder entered;
  uint32_t error = 0;
  if (!ListFolder(folder, entered.entries, error)) {
    file = WalkedFile{folder, SystemErrorMessage(error)};
    return true;
  }
  SortForWalk(entered.entries);
  const bool endsInSeparator = !folder.empty() && IsFolderSeparator(folder.back());
  entered.prefix = endsInSeparator ? folder : folder + FolderSeparator();
  // The current folder's files go by their names below it, as a sums file inside it lists them.
  if (entered.prefix.size() == 2 && entered.prefix[0] == L'.') entered.prefix.clear();
  open.push_back(std::move(entered));
  return false;
}
