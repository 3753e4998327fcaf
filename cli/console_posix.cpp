// checksums-cli on POSIX: arguments and file names are UTF-8, lines end in LF.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/checksums_cli.h"
#include "cli/console.h"

void WriteConsoleLine(ConsoleStream stream, const Text& line) {
  const std::string bytes = Utf8FromText(line) + "\n";
  // Standard output is buffered: what it holds goes first, so that both streams on one
  // terminal keep their order.
  if (stream == ConsoleStream::ERRORS) std::fflush(stdout);
  std::fwrite(bytes.data(), 1, bytes.size(), stream == ConsoleStream::OUTPUT ? stdout : stderr);
}

void WriteNulEndedLine(const Text& line) {
  const std::string bytes = Utf8FromText(line);
  std::fwrite(bytes.data(), 1, bytes.size() + 1, stdout);
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
