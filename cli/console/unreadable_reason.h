#pragma once
// Why a file cannot be read, in the words the console companion prints after its name.
#include "digest/file/digest_file.h"
#include "runtime/text.h"

// "cannot read NAME: reason".
Text CannotReadMessage(const Text& name, const Text& reason);

// Why an opening failed: the system's message, that of a folder, or "not a file".
Text ReasonFor(const FileOpening& opening);

// Why `path` cannot be opened for reading, or the empty text when it can.
Text ReasonFileCannotBeOpened(const Text& path);

// "cannot read NAME: reason" for a file that failed to open or to be read through, `path` being
// "-" for standard input: the engine only says that it failed, the system says why. `shownName`
// is NAME as the message writes it.
Text UnreadableFileMessage(const Text& path, const Text& shownName);
