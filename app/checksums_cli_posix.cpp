// checksums-cli on POSIX: arguments and file names are UTF-8, lines end in LF.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/checksums_cli.h"

namespace {

Text SystemMessage(int error) { return TextFromUtf8(std::strerror(error)); }

}  // namespace

void WriteConsoleLine(ConsoleStream stream, const Text& line) {
  const std::string bytes = Utf8FromText(line) + "\n";
  std::fwrite(bytes.data(), 1, bytes.size(), stream == ConsoleStream::OUTPUT ? stdout : stderr);
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

int main(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(TextFromUtf8(argv[i]));
  return RunChecksumsCli(arguments);
}
