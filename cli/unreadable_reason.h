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
