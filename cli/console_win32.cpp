// checksums-cli on Windows: arguments from the wide command line, so that any path works; lines
// end in CRLF and go out as UTF-8, or as UTF-16 through the console's own call when the stream
// is an interactive console, which would show UTF-8 bytes in its code page.
#include <windows.h>

#include "cli/checksums_cli.h"
#include "cli/console.h"

Text SystemErrorMessage(uint32_t error) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  Text text = length ? Text(message, length) : L"system error " + std::to_wstring(error);
  LocalFree(message);
  // The system's messages end in a line break, which the error line supplies itself.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

void WriteConsoleLine(ConsoleStream stream, const Text& line) {
  HANDLE handle =
      GetStdHandle(stream == ConsoleStream::OUTPUT ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  const Text withEnd = line + L"\r\n";
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
    return;
  }
  const std::string bytes = Utf8FromText(withEnd);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// As bytes even to a console: a NUL-ended line is for another program.
void WriteNulEndedLine(const Text& line) {
  const std::string bytes = Utf8FromText(line);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size() + 1),
            &written, nullptr);
}

bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

Text ReadFailureReason() {
  return SystemErrorMessage(ERROR_READ_FAULT);
}

bool FileIsMissing(const Text& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

int wmain(int argc, wchar_t** argv) {
  std::vector<Text> arguments(argv + 1, argv + argc);
  return RunChecksumsCli(arguments);
}
