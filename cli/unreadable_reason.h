#pragma once
// Why a file cannot be read, in the words the console companion prints after its name.
#include "runtime/text.h"

// Why the digest engine cannot open `path` ("not a file" for a device, pipe or console, else the
// system's message), or the empty text when it can.
Text ReasonFileCannotBeOpened(const Text& path);

// "cannot read NAME: reason" for a file that failed to open or to be read through, `path` being
// "-" for standard input: the engine only says that it failed, the system says why. `shownName`
// is NAME as the message writes it.
Text CannotReadMessage(const Text& path, const Text& shownName);
