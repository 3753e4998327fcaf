#pragma once
// A file written whole or not at all (platform part): the bytes go to a temporary file in the
// same folder, which is flushed to the disk and only then moved over the old file in one step, so
// that a failure part way (a full disk, a folder that refuses it, the power going) leaves the old
// file as it was and no temporary file behind.
#include <string>

#include "runtime/text.h"

// False, with the system's reason, when `path` could not be written; it is then untouched.
bool ReplaceFileWith(const Text& path, const std::string& bytes, Text& reason);

// The temporary file's name while `path` is written by this process.
Text TemporaryFileFor(const Text& path);
