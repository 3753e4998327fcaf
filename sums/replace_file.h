#pragma once
// A file's bytes replaced whole or not at all (platform part). The new bytes go to a temporary
// file in the same folder (so that the move cannot cross file systems), which is flushed to the
// disk and only then moved over the old file in one step: a full disk, a read-only folder or a
// failed write leaves the old file as it was and no temporary file behind, and a power cut
// leaves the old file or the new one, never a mix. On POSIX the new file takes the old one's
// permissions.
#include <string>

#include "runtime/text.h"

// False, with the system's reason, when the old file was left as it was.
bool ReplaceFileBytes(const Text& path, const std::string& bytes, Text& reason);

// True for a name ReplaceFileBytes gives its temporary file beside `path`; such a file is left
// over only by a crash.
bool IsReplacementOf(const Text& path, const Text& name);
