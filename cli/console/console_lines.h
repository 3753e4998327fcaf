#pragma once
// The lines the console companion writes, held and written whole, and its error line.
#include "cli/console/console.h"
#include "runtime/text.h"

// Writes one line, ending as the platform's text files do. Standard output's
// lines are held until FlushConsoleOutput, an error line or a full buffer, so that a line is
// written whole and many files' lines cost few writes; an error line goes out at once. A write
// to standard output that fails ends the program with a message and exit status 1.
void WriteConsoleLine(ConsoleStream stream, const Text& line);
// Writes one line of standard output ended by a NUL character instead of a line end, held and
// written as WriteConsoleLine does.
void WriteNulEndedLine(const Text& line);
// Writes one line of standard output ended by LF on every system, held as the others: the lines
// of a sums file, which then reads alike everywhere (older checkers keep a CR in the name).
void WriteSumsLine(const Text& line);
// Writes the lines standard output holds.
void FlushConsoleOutput();

// "checksums-cli: " and the message, on standard error.
void WriteErrorLine(const Text& message);
