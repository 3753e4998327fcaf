// checksums-cli on POSIX: arguments and file names are UTF-8, lines end in LF.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/checksums_cli.h"

void WriteConsoleLine(ConsoleStream stream, const Text& line) {
  const std::string bytes = Utf8FromText(line) + "\n";
  std::fwrite(bytes.data(), 1, bytes.size(), stream == ConsoleStream::OUTPUT ? stdout : stderr);
}

Text SystemErrorMessage(uint32_t error) {
  return TextFromUtf8(std::strerror(static_cast<int>(error)));
}

Text ReadFailureReason() { return SystemErrorMessage(EIO); }

int main(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(TextFromUtf8(argv[i]));
  return RunChecksumsCli(arguments);
}
