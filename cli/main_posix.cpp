// checksums-cli's entry point on POSIX: arguments are bytes, kept as they are (text.h).
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "cli/checksums_cli.h"
#include "cli/console/console_lines.h"
#include "cli/console/progress_line.h"

namespace {

// Ctrl-C ends the program as usual, but first takes the progress line off the terminal: lines
// are written whole, so nothing else is left cut.
void ClearProgressAndEnd(int signal) {
  static const char spaces[] = "                                                                ";
  size_t left = ShownProgressWidth();
  if (left > 0) {
    ssize_t ignored = write(STDERR_FILENO, "\r", 1);
    for (; left > 0; left -= std::min(left, sizeof spaces - 1)) {
      ignored = write(STDERR_FILENO, spaces, std::min(left, sizeof spaces - 1));
    }
    ignored = write(STDERR_FILENO, "\r", 1);
    (void)ignored;
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe is a failed write, said and ended with status 1, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGINT, ClearProgressAndEnd);
  std::signal(SIGTERM, ClearProgressAndEnd);
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(TextFromNameBytes(argv[i]));
  const int status = RunChecksumsCli(arguments);
  FlushConsoleOutput();
  return status;
}
