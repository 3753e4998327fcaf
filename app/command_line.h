#pragma once
// The program's arguments, handed out one at a time from a cursor kept by the file library.
// Token 0 of a command line is the program name; argument n is token n + 1. Only U+0020
// separates tokens, double quotes group spaces and are removed, backslashes are plain characters.
#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/text.h"

// The file library's start: the next argument handed out is the first one.
void StartFileLibrary();

// Token `index` of `commandLine` with its double quotes removed; none when the line has fewer
// tokens. A token may be empty (a pair of quotes).
std::optional<Text> CommandLineToken(std::wstring_view commandLine, int64_t index);
int64_t CommandLineTokenCount(std::wstring_view commandLine);

// The argument at the cursor, after which the cursor moves on; the empty text, with the cursor
// left where it is, when there is no argument there.
Text NextCommandLineArgument(std::wstring_view commandLine);
// Arguments after the program name.
int64_t CommandLineArgumentCount(std::wstring_view commandLine);
// Moves the cursor to `index` when it is 0 or more, then hands out the argument there.
Text CommandLineArgumentAt(int32_t index, std::wstring_view commandLine);

// Index of the next argument to hand out.
int32_t ArgumentCursor();

#ifdef _WIN32
// The same on the process's own command line, read anew on every call.
Text NextCommandLineArgument();
int64_t CommandLineArgumentCount();
Text CommandLineArgumentAt(int32_t index);
#endif
