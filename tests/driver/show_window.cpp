// Starts the checksum window with a file, prints what the live window shows (title, the eleven
// fields, the status text), then waits for a line on standard input before closing the window.
// Its exit code is the program's. Used by the run command on machines without a display.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/text.h"
#include "tests/driver/window_driver.h"

namespace {

void PrintLine(const std::wstring& line) {
  const std::string utf8 = Utf8FromText(line) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
            nullptr);
}

void WaitForInputLine() {
  char byte = 0;
  DWORD got = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got == 1 &&
         byte != '\n') {
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    PrintLine(L"usage: show-window PROGRAM.exe [FILE]");
    return 2;
  }
  const std::wstring file = argc > 2 ? argv[2] : L"";
  DrivenProgram program(argv[1], file.empty() ? L"" : L"\"" + file + L"\"");
  if (!program.WaitForWindow()) {
    PrintLine(L"The window did not appear.");
    return 1;
  }
  if (!file.empty()) program.WaitForReport(120000);

  const WindowSnapshot shown = program.Read();
  PrintLine(L"Title:  " + shown.title);
  for (const auto& field : shown.fields) PrintLine(L"        " + field);
  PrintLine(L"Status: " + shown.status);
  RECT frame{};
  GetWindowRect(program.Window(), &frame);
  PrintLine(L"Frame: " + std::to_wstring(frame.right - frame.left) + L"x" +
            std::to_wstring(frame.bottom - frame.top) + L"+" + std::to_wstring(frame.left) + L"+" +
            std::to_wstring(frame.top));
  PrintLine(L"END");
  WaitForInputLine();
  return static_cast<int>(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE));
}
