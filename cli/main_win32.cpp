// checksums-cli's entry point on Windows: wmain, so that the arguments arrive as UTF-16 and any
// path works.
#include <windows.h>

#include "cli/checksums_cli.h"
#include "cli/console/console_lines.h"
#include "cli/console/progress_line.h"

namespace {

// Ctrl-C ends the program as usual (the handler declines it), but first takes the progress line
// off the console: lines are written whole, so nothing else is left cut.
BOOL WINAPI ClearProgressOnInterrupt(DWORD) {
  const size_t width = ShownProgressWidth();
  if (width > 0) {
    const Text text = L"\r" + Text(width, L' ') + L"\r";
    DWORD written = 0;
    WriteConsoleW(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
                  &written, nullptr);
  }
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetConsoleCtrlHandler(ClearProgressOnInterrupt, TRUE);
  std::vector<Text> arguments(argv + 1, argv + argc);
  const int status = RunChecksumsCli(arguments);
  FlushConsoleOutput();
  return status;
}
