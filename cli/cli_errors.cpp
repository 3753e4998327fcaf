#include "cli/cli_errors.h"

#include "cli/console.h"

void WriteErrorLine(const Text& message) {
  WriteConsoleLine(ConsoleStream::ERRORS, Text(PROGRAM_NAME) + L": " + message);
}
