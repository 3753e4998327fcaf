#pragma once
// Why a file cannot be read, in the words both programs give after its name: the system's own
// message for what refused it (platform part), "not a file" for what is no file.
#include <cstdint>

#include "digest/digest_run.h"
#include "digest/file/digest_file.h"
#include "runtime/text.h"

// The system's message for an error number (errno, or GetLastError() on Windows).
Text SystemErrorMessage(uint32_t error);

// The system's message for a read that failed part way.
Text ReadFailureReason();

// Why a folder named as a file is not read.
Text FolderReason();

// True for the system's error when nothing has the name, or a folder on its path is missing.
bool IsMissingFileError(uint32_t error);

// "cannot read NAME: reason".
Text CannotReadMessage(const Text& name, const Text& reason);

// Why an opening failed: the system's message, that of a folder, or "not a file".
Text ReasonFor(const FileOpening& opening);

// True when the opening failed because nothing has the name.
bool FoundNothing(const FileOpening& opening);

// Why `path` cannot be opened for reading, or the empty text when it can.
Text ReasonFileCannotBeOpened(const Text& path);

// Why a file failed to open or to be read through, `path` being "-" for standard input: the
// engine only says that it failed, the system says why.
Text UnreadableFileReason(const Text& path);

// Why a file gave no digests.
struct FileFailure {
  bool failed = false;   // false: the file was read through
  bool missing = false;  // nothing has the file's name (not found, or a folder on its path)
  Text reason;           // the system's words, when it failed
};

// How the engine's finished job ended: its opening, or a read that failed on the way.
FileFailure FailureOf(const DigestJob& job);
