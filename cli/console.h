#pragma once
// The console companion's platform part: it reads the arguments and standard input, writes the
// lines and words the system's errors. Everything else is portable.
#include <cstdint>
#include <string>

#include "runtime/text.h"

enum class ConsoleStream { OUTPUT, ERRORS };

// Writes one line, UTF-8 encoded, ending as the platform's text files do.
void WriteConsoleLine(ConsoleStream stream, const Text& line);

// Writes one line of standard output ended by a NUL character instead of a line end.
void WriteNulEndedLine(const Text& line);

// True when standard input is a terminal (a console on Windows), which a read would wait on.
bool StandardInputIsTerminal();

// The system's message for an error number (errno, or GetLastError() on Windows).
Text SystemErrorMessage(uint32_t error);

// The system's message for a read that failed part way.
Text ReadFailureReason();

// True when nothing at all has the name `path`, as against a file that cannot be read.
bool FileIsMissing(const Text& path);
