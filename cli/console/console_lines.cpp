#include "cli/console/console_lines.h"

#include "cli/console/exit_status.h"
#include "cli/console/progress_line.h"
#include "sums/unreadable_reason.h"

namespace {

#ifdef _WIN32
constexpr wchar_t LINE_END[] = L"\r\n";
#else
constexpr wchar_t LINE_END[] = L"\n";
#endif

// Enough for many small files' lines in one write, little enough to show a slow run's lines
// soon: a line is also written whenever the program is about to wait.
constexpr size_t HELD_OUTPUT_LIMIT = 65536;

Text heldOutput;

// Standard output's lines, whatever they end in, are held and written here, so that each keeps a
// name's bytes and a failed write is said.
void HoldOutputLine(const Text& line, const Text& lineEnd) {
  heldOutput += line;
  heldOutput += lineEnd;
  if (heldOutput.size() >= HELD_OUTPUT_LIMIT) FlushConsoleOutput();
}

}  // namespace

void FlushConsoleOutput() {
  if (heldOutput.empty()) return;
  ClearProgress();
  uint32_t error = 0;
  if (!WriteConsoleText(ConsoleStream::OUTPUT, heldOutput, error)) {
    // A full disk or a closed pipe: what follows could not be written either.
    WriteConsoleText(ConsoleStream::ERRORS,
                     Text(PROGRAM_NAME) + L": write error: " + SystemErrorMessage(error) + LINE_END,
                     error);
    EndProgram(EXIT_SOME_FAILED);
  }
  heldOutput.clear();
}

void WriteConsoleLine(ConsoleStream stream, const Text& line) {
  if (stream == ConsoleStream::OUTPUT) {
    HoldOutputLine(line, LINE_END);
    return;
  }
  // Both streams may be one terminal: what standard output holds goes first.
  FlushConsoleOutput();
  ClearProgress();
  uint32_t error = 0;
  WriteConsoleText(ConsoleStream::ERRORS, line + LINE_END, error);
}

void WriteErrorLine(const Text& message) {
  WriteConsoleLine(ConsoleStream::ERRORS, Text(PROGRAM_NAME) + L": " + message);
}

void WriteSumsLine(const Text& line) {
  HoldOutputLine(line, L"\n");
}

void WriteNulEndedLine(const Text& line) {
  HoldOutputLine(line, Text(1, L'\0'));
}
