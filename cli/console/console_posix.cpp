// The console on POSIX: file names are bytes, kept as they are (text.h); output is those bytes.
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "cli/console/console.h"

namespace {

int Descriptor(ConsoleStream stream) {
  return stream == ConsoleStream::OUTPUT ? STDOUT_FILENO : STDERR_FILENO;
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
