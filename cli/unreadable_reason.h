#pragma once
// Why a file cannot be read, in the words the console companion prints after its name.
#include "runtime/text.h"

// Why the digest engine cannot open `path` ("not a file" for a device, pipe or console, else the
// system's message), or the empty text when it can.
Text ReasonFileCannotBeOpened(const Text& path);
