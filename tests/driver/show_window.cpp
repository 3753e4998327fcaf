// Starts the checksum window with a file, prints what the live window shows (title, the eleven
// fields, the status text), then waits for a line on standard input before closing the window.
// Its exit code is the program's. Used by the run command on machines without a display.
//
// The window reads the file eleven times before it first answers, so a large file keeps it busy
// for a while: that wait lasts as long as the program is alive and working, up to a limit that
// grows with the file's size, and says what it waits for.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/text.h"
#include "tests/support/window_driver.h"

namespace {

void PrintLine(const std::wstring& line) {
  const std::string utf8 = Utf8FromText(line) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
            nullptr);
}

// A minute, and a second more for every 16 MiB: eleven passes at well under the engine's speed.
constexpr ULONGLONG BASE_WAIT_MS = 60000;
constexpr ULONGLONG BYTES_PER_WAIT_MS = 16 * 1048576 / 1000;
// A program that is working uses processor time; one that used none for this long is stuck.
constexpr ULONGLONG IDLE_LIMIT_MS = 30000;
constexpr ULONGLONG NOTE_EVERY_MS = 15000;
constexpr UINT ANSWER_POLL_MS = 1000;

// 0 when it cannot be told.
ULONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring SizeText(ULONGLONG bytes) {
  if (bytes < (1ull << 20)) return std::to_wstring(bytes) + L" bytes";
  const bool gibibytes = bytes >= (1ull << 30);
  const ULONGLONG tenths = bytes * 10 / (gibibytes ? 1ull << 30 : 1ull << 20);
  return std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) +
         (gibibytes ? L" GiB" : L" MiB");
}

std::wstring Seconds(ULONGLONG ms) {
  return std::to_wstring(ms / 1000) + L" s";
}

bool Answers(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, ANSWER_POLL_MS, &ignored) != 0;
}

// The program answers once its first report is shown: it computes it before its event loop runs.
bool WaitForFirstReport(const DrivenProgram& program, const std::wstring& file) {
  const ULONGLONG size = FileSize(file);
  const ULONGLONG limit = BASE_WAIT_MS + size / BYTES_PER_WAIT_MS;
  const ULONGLONG start = GetTickCount64();
  ULONGLONG cpu = ProcessCpuTime(program.ProcessId());
  ULONGLONG lastWork = start;
  ULONGLONG nextNote = start;
  while (!Answers(program.Window())) {
    const ULONGLONG now = GetTickCount64();
    if (WaitForSingleObject(program.Process(), 0) == WAIT_OBJECT_0) {
      PrintLine(L"The program ended before it showed its report.");
      return false;
    }
    const ULONGLONG cpuNow = ProcessCpuTime(program.ProcessId());
    if (cpuNow != cpu) lastWork = now;
    cpu = cpuNow;
    if (now - lastWork > IDLE_LIMIT_MS) {
      PrintLine(L"The program neither answers nor works: no report after " + Seconds(now - start) +
                L".");
      return false;
    }
    if (now - start > limit) {
      PrintLine(L"No report after " + Seconds(now - start) + L", the limit for " + SizeText(size) +
                L".");
      return false;
    }
    if (now >= nextNote) {
      PrintLine(L"Waiting for the checksums of " + file + L" (" + SizeText(size) +
                L"): the window reads it eleven times before it answers; " + Seconds(now - start) +
                L" so far, at most " + Seconds(limit) + L".");
      nextNote = now + NOTE_EVERY_MS;
    }
  }
  // The report writes the status bar last; whatever the window shows is printed in any case.
  program.WaitForReport();
  return true;
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
  if (!file.empty() && !WaitForFirstReport(program, file)) return 1;

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
