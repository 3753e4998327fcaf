#include "sums/listed_file.h"

#include <algorithm>

#include "sums/folder_entries.h"
#include "sums/folder_separator.h"
#include "sums/outside_names.h"

namespace {

#ifdef _WIN32
constexpr bool NAMES_MAY_REACH_OUTSIDE = true;
#else
// On POSIX '\' is a character of a name, "//host" is the root folder and "con" an ordinary file:
// a name reaches nothing the file system does not show. Devices and FIFOs are kept out by
// opening listed names as regular files only.
constexpr bool NAMES_MAY_REACH_OUTSIDE = false;
#endif

bool IsAbsolute(const Text& name) {
  if (!name.empty() && IsFolderSeparator(name[0])) return true;
#ifdef _WIN32
  return name.size() >= 2 && name[1] == L':';
#else
  return false;
#endif
}

size_t LastSeparator(const Text& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsFolderSeparator(path[i - 1])) return i - 1;
  }
  return Text::npos;
}

// A digest-alone file names its file by its own name, whose folder the user chose: only the
// file's own name was written by whoever wrote the sums file.
Text WrittenName(const SumsEntry& entry) {
  if (entry.form != SumsLineForm::DIGEST_ONLY) return entry.name;
  const size_t separator = LastSeparator(entry.name);
  return separator == Text::npos ? entry.name : entry.name.substr(separator + 1);
}

Text ListedFilePath(const Text& sumsFile, const SumsEntry& entry) {
  // A digest-alone file's name is its own path less the extension: in its folder already.
  if (entry.form == SumsLineForm::DIGEST_ONLY || IsAbsolute(entry.name)) return entry.name;
  const size_t separator = LastSeparator(sumsFile);
  if (separator == Text::npos) return entry.name;
  return sumsFile.substr(0, separator + 1) + entry.name;
}

// A sums file written on Windows may part folders with '\', which on POSIX is a character of a
// name: a name that is not there as written is tried with '/'. Windows reads both as separators
// already, and on POSIX a file whose name holds '\' is found as written first.
Text PathReadingWindowsSeparators(const Text& sumsFile, const SumsEntry& entry) {
  const Text written = ListedFilePath(sumsFile, entry);
  if (FolderSeparator() == L'\\' || entry.form == SumsLineForm::DIGEST_ONLY ||
      entry.name.find(L'\\') == Text::npos) {
    return written;
  }
  if (KindOf(written) != EntryKind::MISSING) return written;
  SumsEntry slashed = entry;
  std::replace(slashed.name.begin(), slashed.name.end(), L'\\', L'/');
  // "\dir\file" is a path from the root of the drive the sums file is on, not from this root.
  if (IsAbsolute(slashed.name)) return written;
  const Text path = ListedFilePath(sumsFile, slashed);
  return KindOf(path) == EntryKind::MISSING ? written : path;
}

}  // namespace

ListedFile FindListedFile(const Text& sumsFile, const SumsEntry& entry, bool allowNetworkNames) {
  ListedFile file;
  const NameReach reach =
      NAMES_MAY_REACH_OUTSIDE ? ReachOfWrittenName(WrittenName(entry)) : NameReach::LOCAL;
  if (reach == NameReach::LOCAL || (reach == NameReach::NETWORK && allowNetworkNames)) {
    file.path = PathReadingWindowsSeparators(sumsFile, entry);
  } else {
    file.refusal = NotOpenedReason(reach);
  }
  return file;
}

FileFailure RefusalFailure(const Text& refusal) {
  return FileFailure{true, false, refusal};
}
