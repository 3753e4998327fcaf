// The console on Windows: lines go out as UTF-8, or as UTF-16 through the console's own call when
// the stream is an interactive console, which would show UTF-8 bytes in its code page.
#include <windows.h>

#include <cstdlib>

#include "cli/console/console.h"

namespace {

constexpr wchar_t FOLDER_REASON[] = L"Is a folder";

HANDLE Handle(ConsoleStream stream) {
  return GetStdHandle(stream == ConsoleStream::OUTPUT ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// WriteFile and WriteConsoleW may both take only part of what they are given.
template <typename Unit, typename Write>
bool WriteAll(const Unit* units, size_t count, uint32_t& error, Write write) {
  for (size_t done = 0; done < count;) {
    DWORD written = 0;
    if (!write(units + done, static_cast<DWORD>(count - done), &written)) {
      error = GetLastError();
      return false;
    }
    if (written == 0) {
      error = ERROR_WRITE_FAULT;
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

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

bool WriteConsoleText(ConsoleStream stream, const Text& text, uint32_t& error) {
  HANDLE handle = Handle(stream);
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    return WriteAll(text.data(), text.size(), error,
                    [&](const wchar_t* units, DWORD count, DWORD* written) {
                      return WriteConsoleW(handle, units, count, written, nullptr);
                    });
  }
  const std::string bytes = Utf8FromText(text);
  return WriteAll(bytes.data(), bytes.size(), error,
                  [&](const char* units, DWORD count, DWORD* written) {
                    return WriteFile(handle, units, count, written, nullptr);
                  });
}

bool IsTerminal(ConsoleStream stream) {
  DWORD mode = 0;
  return GetConsoleMode(Handle(stream), &mode);
}

int TerminalColumns(ConsoleStream stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(Handle(stream), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

void EndProgram(int status) {
  std::_Exit(status);
}

bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

Text ReadFailureReason() {
  return SystemErrorMessage(ERROR_READ_FAULT);
}

Text FolderReason() {
  return FOLDER_REASON;
}

bool FileIsMissing(const Text& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
