// checksums-cli on POSIX: arguments and file names are UTF-8, lines end in LF.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/checksums_cli.h"
#include "cli/console.h"

namespace {

Text SystemMessage(int error) { return TextFromUtf8(std::strerror(error)); }

}  // namespace

void WriteConsoleLine(ConsoleStream stream, const Text& line) {
  const std::string bytes = Utf8FromText(line) + "\n";
  // Standard output is buffered: what it holds goes first, so that both streams on one
  // terminal keep their order.
  if (stream == ConsoleStream::ERRORS) std::fflush(stdout);
  std::fwrite(bytes.data(), 1, bytes.size(), stream == ConsoleStream::OUTPUT ? stdout : stderr);
}

bool ReadStandardInput(std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

Text ReasonFileCannotBeOpened(const Text& path) {
  const int fd = open(Utf8FromText(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd == -1) return SystemMessage(errno);
  struct stat status;
  const int error = fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
  close(fd);
  return error ? SystemMessage(error) : Text();
}

Text ReadFailureReason() { return SystemMessage(EIO); }

bool FileIsMissing(const Text& path) {
  struct stat status;
  return stat(Utf8FromText(path).c_str(), &status) != 0 && errno == ENOENT;
}

int main(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(TextFromUtf8(argv[i]));
  const int status = RunChecksumsCli(arguments);
  // A full disk or a closed pipe may only show when the buffered output is written.
  if (std::fflush(stdout) != 0 && status == 0) return 1;
  return status;
}
