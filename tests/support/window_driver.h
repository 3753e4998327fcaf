#pragma once
// Drives the checksum window from a second process, the way a user would: starts the program,
// finds its window, reads what its controls show, clicks, drops files and closes it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

constexpr int REPORT_FIELD_COUNT = 11;
constexpr int OPEN_FILE_BUTTON = 12;
constexpr int CLEAR_BUTTON = 13;
// Tests poll every few milliseconds; a benchmark, which times what it waits for, more often.
constexpr DWORD DRIVER_POLL_MS = 20;

struct WindowSnapshot {
  std::wstring title;
  std::vector<std::wstring> fields;  // fields 1 to 11
  std::wstring status;               // section 0 of the status bar
};

class DrivenProgram {
 public:
  // Starts `program` with `arguments` appended to its quoted name as the command line.
  DrivenProgram(const std::wstring& program, const std::wstring& arguments);
  DrivenProgram(const DrivenProgram&) = delete;
  DrivenProgram& operator=(const DrivenProgram&) = delete;
  ~DrivenProgram();  // closes the window and ends the process if a test left it running

  bool Started() const { return process.hProcess != nullptr; }
  // Waits for the program's top-level window and its eleven fields and status bar. They exist
  // before the program answers: it may still be computing its first report.
  bool WaitForWindow(DWORD timeoutMs = 20000);
  // The same for another window program: its window whose title starts with `titleStart`, once
  // it holds a control of each of `controls`.
  bool WaitForWindow(const wchar_t* titleStart, const std::vector<int>& controls,
                     DWORD timeoutMs = 20000, DWORD pollMs = DRIVER_POLL_MS);
  HWND Window() const { return window; }
  HANDLE Process() const { return process.hProcess; }
  DWORD ProcessId() const { return process.dwProcessId; }

  WindowSnapshot Read() const;
  std::wstring ReadTitle() const;
  std::wstring ReadStatus() const;
  // Waits until the status bar shows a text: the report writes it last, so the report is done.
  bool WaitForReport(DWORD timeoutMs = 30000) const;
  // Waits until the window shows something other than `previous` (title, fields or status).
  bool WaitForChange(const WindowSnapshot& previous, DWORD timeoutMs = 20000) const;

  void ClickButton(int number) const;  // posted, so a modal dialog does not block the driver
  // Finds the program's "Open File" dialog, enters `path` and presses OK, or presses Cancel
  // when `path` is empty.
  bool AnswerOpenFileDialog(const std::wstring& path, DWORD timeoutMs = 20000) const;
  // The same for the program's file dialog whose title starts with `title`.
  bool AnswerFileDialog(const wchar_t* title, const std::wstring& path,
                        DWORD timeoutMs = 20000) const;
  // Finds the program's file dialog titled `title`, reads the name it proposes into `proposed`
  // and presses Enter in its name box, as a user accepting it would.
  bool AcceptFileDialogWithEnter(const wchar_t* title, std::wstring& proposed,
                                 DWORD timeoutMs = 20000) const;
  // A real OLE drag of `paths` (a CF_HDROP list) from this process onto the window.
  DWORD DropFiles(const std::vector<std::wstring>& paths) const;
  // The same at a point of the window's client area.
  DWORD DropFilesAt(POINT clientPoint, const std::vector<std::wstring>& paths) const;

  // Ends the program by `WM_CLOSE`, `SC_CLOSE` or Alt+F4; its exit code, or -1 if it did not end.
  enum class CloseBy { CLOSE_MESSAGE, SYSTEM_MENU, ALT_F4 };
  long Close(CloseBy how, DWORD timeoutMs = 20000);

 private:
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
};

// Text of any window, through the message queue of whichever process owns it.
std::wstring ReadControlText(HWND control);

// The text of a cell of a list view (report mode) in another process: LVM_GETITEMTEXTW is not
// marshalled across processes, so the item and the text go through the program's memory.
std::wstring ReadListCell(HANDLE process, HWND list, int row, int column);

// Polls `condition` every `pollMs` until it holds; false when `timeoutMs` pass first.
bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition,
               DWORD pollMs = DRIVER_POLL_MS);

// CPU time of all threads of a process, in 100 ns units; Wine reports none for the process itself.
ULONGLONG ProcessCpuTime(DWORD processId);
