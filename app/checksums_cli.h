#pragma once
// checksums-cli: the digest engine for scripts and terminals. The portable part decides what to
// print; the platform part reads the arguments, writes the lines and words the system's errors.
#include <cstdint>
#include <vector>

#include "runtime/text.h"

enum class ConsoleStream { OUTPUT, ERRORS };

// The exit status for the arguments after the program's name: 0 when every file was reported,
// 1 when one could not be read, 2 for a wrong command line.
int RunChecksumsCli(const std::vector<Text>& arguments);

// Platform part. Writes one line, UTF-8 encoded, ending as the platform's text files do.
void WriteConsoleLine(ConsoleStream stream, const Text& line);

// Why the digest engine cannot open `path` ("not a file" for a device, pipe or console, else the
// system's message), or the empty text when it can.
Text ReasonFileCannotBeOpened(const Text& path);

// Platform part. The system's message for an error number (errno, or GetLastError() on Windows).
Text SystemErrorMessage(uint32_t error);

// The system's message for a read that failed part way.
Text ReadFailureReason();
