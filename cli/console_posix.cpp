// checksums-cli on POSIX: arguments and file names are bytes, kept as they are (text.h); lines
// end in LF.
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli/checksums_cli.h"
#include "cli/console.h"
#include "cli/progress_line.h"

namespace {

int Descriptor(ConsoleStream stream) {
  return stream == ConsoleStream::OUTPUT ? STDOUT_FILENO : STDERR_FILENO;
}

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

bool WriteConsoleText(ConsoleStream stream, const Text& text, uint32_t& error) {
  const std::string bytes = NameBytesFromText(text);
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(Descriptor(stream), bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = static_cast<uint32_t>(written < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

bool IsTerminal(ConsoleStream stream) {
  return isatty(Descriptor(stream)) == 1;
}

int TerminalColumns(ConsoleStream stream) {
  winsize size;
  if (ioctl(Descriptor(stream), TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

void EndProgram(int status) {
  std::_Exit(status);
}

bool StandardInputIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

Text SystemErrorMessage(uint32_t error) {
  return TextFromUtf8(std::strerror(static_cast<int>(error)));
}

Text ReadFailureReason() {
  return SystemErrorMessage(EIO);
}

Text FolderReason() {
  return SystemErrorMessage(EISDIR);
}

bool FileIsMissing(const Text& path) {
  struct stat status;
  return stat(NameBytesFromText(path).c_str(), &status) != 0 && errno == ENOENT;
}

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
