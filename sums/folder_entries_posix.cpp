// File names are bytes here, kept as they are (text.h).
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

#include "sums/folder_entries.h"

namespace {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::FILE;
  if (S_ISDIR(mode)) return EntryKind::FOLDER;
  if (S_ISLNK(mode)) return EntryKind::LINK;
  return EntryKind::OTHER;
}

EntryKind KindOfDirectoryEntry(const Text& folder, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG:
      return EntryKind::FILE;
    case DT_DIR:
      return EntryKind::FOLDER;
    case DT_LNK:
      return EntryKind::LINK;
    case DT_UNKNOWN:
      break;
    default:
      return EntryKind::OTHER;
  }
  // Some file systems do not say; ask the entry itself, without following a link.
  struct stat status;
  const std::string path = NameBytesFromText(folder) + "/" + entry.d_name;
  if (lstat(path.c_str(), &status) != 0) return EntryKind::MISSING;
  return KindOfMode(status.st_mode);
}

}  // namespace

EntryKind KindOf(const Text& path) {
  struct stat status;
  const std::string bytes = NameBytesFromText(path);
  // No name holds a NUL byte; the system would see a shorter one.
  if (bytes.find('\0') != std::string::npos || stat(bytes.c_str(), &status) != 0) {
    return EntryKind::MISSING;
  }
  return KindOfMode(status.st_mode);
}

bool ListFolder(const Text& folder, std::vector<FolderEntry>& entries, uint32_t& error) {
  DIR* listing = opendir(NameBytesFromText(folder).c_str());
  if (!listing) {
    error = static_cast<uint32_t>(errno);
    return false;
  }
  errno = 0;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      entries.push_back({TextFromNameBytes(name), KindOfDirectoryEntry(folder, *entry)});
    }
    errno = 0;
  }
  error = static_cast<uint32_t>(errno);
  closedir(listing);
  return error == 0;
}

bool ExpandWildcards(const Text& argument, std::vector<Text>& names, uint32_t&) {
  // The shell has expanded them already; a '*' left over is part of a name.
  names.push_back(argument);
  return true;
}
