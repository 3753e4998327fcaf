// Started by the command-line test with a command line of the test's choosing: reports what the
// program would see in it, as UTF-8 lines on standard output: the argument count, every
// argument handed out, and the cursor after one call too many.
#include <windows.h>

#include <string>

#include "app/command_line.h"

namespace {

void WriteLine(HANDLE output, const std::string& line) {
  const std::string withEnd = line + "\n";
  DWORD written = 0;
  WriteFile(output, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
}

}  // namespace

int wmain() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  StartFileLibrary();
  const int64_t count = CommandLineArgumentCount();
  WriteLine(output, std::to_string(count));
  for (int64_t i = 0; i < count; ++i) WriteLine(output, Utf8FromText(NextCommandLineArgument()));
  const Text beyond = NextCommandLineArgument();
  WriteLine(output,
            beyond.empty() ? std::to_string(ArgumentCursor()) : "argument beyond the count");
  return 0;
}
