#pragma once
// The console companion's platform part: it writes to the console, tells a terminal from a file
// and words the system's errors. Everything else is portable.
#include <cstdint>
#include <string>

#include "runtime/text.h"

enum class ConsoleStream { OUTPUT, ERRORS };

// Writes `text` as it is: UTF-8 (file names' bytes as they are outside Windows), or UTF-16 to a
// Windows console. False, with the system's error number, when the write failed.
bool WriteConsoleText(ConsoleStream stream, const Text& text, uint32_t& error);

// True when the stream is a terminal (a console on Windows).
bool IsTerminal(ConsoleStream stream);

// The width of the terminal behind the stream in characters, or 0 when it is not known.
int TerminalColumns(ConsoleStream stream);

// Ends the process at once with `status`: what workers still do is abandoned.
[[noreturn]] void EndProgram(int status);

// True when standard input is a terminal (a console on Windows), which a read would wait on.
bool StandardInputIsTerminal();
