#pragma once
// What the programs ask the file system about names (platform part): what a name is, what a
// folder holds (for -r and for the files a sums file leaves unlisted), and, on Windows, which
// names a wildcard pattern matches.
#include <cstdint>
#include <vector>

#include "runtime/text.h"

// A link is a symbolic link or, on Windows, any reparse point such as a junction: a walk does not
// follow it. OTHER is a FIFO, device or socket.
enum class EntryKind { FILE, FOLDER, LINK, OTHER, MISSING };

struct FolderEntry {
  Text name;
  EntryKind kind;
};

// What `path` names, following a link (as a name given on the command line is followed).
EntryKind KindOf(const Text& path);

// The entries of a folder, without "." and "..", in no particular order; false, with the
// system's error number, when it cannot be listed.
bool ListFolder(const Text& folder, std::vector<FolderEntry>& entries, uint32_t& error);

// The names `argument` stands for: on Windows, where the shell leaves wildcards to the program,
// the names its '*' and '?' match in the last part (sorted without regard to case, the folder
// part written as given); elsewhere, and for an argument without wildcards, the argument itself.
// False, with the system's error number, for a pattern that matches nothing.
bool ExpandWildcards(const Text& argument, std::vector<Text>& names, uint32_t& error);
