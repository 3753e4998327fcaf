// The console on Windows: lines go out as UTF-8, or as UTF-16 through the console's own call when
// the stream is an interactive console, which would show UTF-8 bytes in its code page.
#include <windows.h>

#include <cstdlib>

#include "cli/console/console.h"

namespace {

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
