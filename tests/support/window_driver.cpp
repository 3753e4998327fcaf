#include "tests/support/window_driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>

#include "tests/support/file_drag.h"

namespace {

constexpr UINT ANSWER_TIMEOUT_MS = 30000;  // a program busy hashing answers only when done
constexpr int DIALOG_FILE_NAME_BOX = 0x47C;
const wchar_t PROGRAM_TITLE_START[] = L"Calculate Checksums";

struct WindowSearch {
  DWORD processId;
  const wchar_t* titleStart;
  HWND found;
};

// The title as the system keeps it: unlike WM_GETTEXT this does not wait for a program that is
// busy computing, whose window exists long before it answers.
std::wstring WindowTitle(HWND window) {
  std::wstring title(GetWindowTextLengthW(window) + 1, L'\0');
  title.resize(GetWindowTextW(window, title.data(), static_cast<int>(title.size())));
  return title;
}

BOOL CALLBACK MatchWindow(HWND candidate, LPARAM searchAddress) {
  auto* search = reinterpret_cast<WindowSearch*>(searchAddress);
  DWORD owner = 0;
  GetWindowThreadProcessId(candidate, &owner);
  if (owner != search->processId || !IsWindowVisible(candidate)) return TRUE;
  if (WindowTitle(candidate).rfind(search->titleStart, 0) != 0) return TRUE;
  search->found = candidate;
  return FALSE;
}

HWND FindTopLevelWindow(DWORD processId, const wchar_t* titleStart) {
  WindowSearch search{processId, titleStart, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND StatusBarOf(HWND window) {
  return FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
}

// Memory in the driven program, for the controls' messages that are not marshalled across
// processes: what they read or write goes through it.
class ProgramMemory {
 public:
  ProgramMemory(HANDLE process, size_t bytes)
      : process(process),
        start(static_cast<char*>(
            VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE))) {}
  ~ProgramMemory() {
    if (start) VirtualFreeEx(process, start, 0, MEM_RELEASE);
  }
  ProgramMemory(const ProgramMemory&) = delete;
  ProgramMemory& operator=(const ProgramMemory&) = delete;

  // The address in the program, for a message's parameter; null when none could be had.
  char* At(size_t offset = 0) const { return start ? start + offset : nullptr; }
  bool Write(size_t offset, const void* bytes, size_t size) const {
    return WriteProcessMemory(process, start + offset, bytes, size, nullptr) != FALSE;
  }
  // `characters` wide characters from `offset`.
  std::wstring ReadText(size_t offset, size_t characters) const {
    std::wstring text(characters, L'\0');
    if (!ReadProcessMemory(process, start + offset, text.data(), characters * sizeof(wchar_t),
                           nullptr)) {
      text.clear();
    }
    return text;
  }

 private:
  HANDLE process;
  char* start;
};

bool SameSnapshot(const WindowSnapshot& a, const WindowSnapshot& b) {
  return a.title == b.title && a.fields == b.fields && a.status == b.status;
}

}  // namespace

bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition, DWORD pollMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > deadline) return false;
    Sleep(pollMs);
  }
  return true;
}

std::wstring ReadControlText(HWND control) {
  // The text may change between the two questions: a buffer one longer than the length asked
  // shows a text that grew, which is read again rather than returned cut to the old length.
  for (;;) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, ANSWER_TIMEOUT_MS,
                             &length))
      return L"";
    std::wstring text(length + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(),
                             reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, ANSWER_TIMEOUT_MS,
                             &copied))
      return L"";
    if (copied <= length) {
      text.resize(copied);
      return text;
    }
  }
}

DrivenProgram::DrivenProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    process = PROCESS_INFORMATION{};
  }
}

DrivenProgram::~DrivenProgram() {
  if (!process.hProcess) return;
  if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 1);
      // Ended only once it has let go of its files, which the test's folder then removes.
      WaitForSingleObject(process.hProcess, 30000);
    }
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

bool DrivenProgram::WaitForWindow(DWORD timeoutMs) {
  if (!Started()) return false;
  // The window can be visible before its controls exist.
  return WaitUntil(timeoutMs, [&] {
    window = FindTopLevelWindow(process.dwProcessId, PROGRAM_TITLE_START);
    return window && GetDlgItem(window, REPORT_FIELD_COUNT) && GetDlgItem(window, CLEAR_BUTTON) &&
           StatusBarOf(window);
  });
}

bool DrivenProgram::WaitForWindow(const wchar_t* titleStart, const std::vector<int>& controls,
                                  DWORD timeoutMs, DWORD pollMs) {
  if (!Started()) return false;
  return WaitUntil(
      timeoutMs,
      [&] {
        window = FindTopLevelWindow(process.dwProcessId, titleStart);
        if (!window) return false;
        for (int control : controls) {
          if (!GetDlgItem(window, control)) return false;
        }
        return true;
      },
      pollMs);
}

std::wstring DrivenProgram::ReadTitle() const {
  return ReadControlText(window);
}

std::wstring DrivenProgram::ReadStatus() const {
  // SB_GETTEXTW takes no buffer size, and the text may grow after its length is asked: the buffer
  // holds the longest text the answer can give the length of, and that length is read.
  constexpr size_t LONGEST_STATUS = 0xFFFF;
  HWND statusBar = StatusBarOf(window);
  if (!statusBar) return L"";
  const ProgramMemory memory(process.hProcess, (LONGEST_STATUS + 1) * sizeof(wchar_t));
  DWORD_PTR lengthAndType = 0;
  if (!memory.At() ||
      !SendMessageTimeoutW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(memory.At()),
                           SMTO_NORMAL, ANSWER_TIMEOUT_MS, &lengthAndType)) {
    return L"";
  }
  return memory.ReadText(0, LOWORD(lengthAndType));
}

WindowSnapshot DrivenProgram::Read() const {
  WindowSnapshot snapshot;
  snapshot.title = ReadTitle();
  for (int number = 1; number <= REPORT_FIELD_COUNT; ++number) {
    snapshot.fields.push_back(ReadControlText(GetDlgItem(window, number)));
  }
  snapshot.status = ReadStatus();
  return snapshot;
}

bool DrivenProgram::WaitForReport(DWORD timeoutMs) const {
  return WaitUntil(timeoutMs, [&] { return !ReadStatus().empty(); });
}

bool DrivenProgram::WaitForChange(const WindowSnapshot& previous, DWORD timeoutMs) const {
  return WaitUntil(timeoutMs, [&] { return !SameSnapshot(Read(), previous); });
}

void DrivenProgram::ClickButton(int number) const {
  PostMessageW(GetDlgItem(window, number), BM_CLICK, 0, 0);
}

bool DrivenProgram::AnswerOpenFileDialog(const std::wstring& path, DWORD timeoutMs) const {
  return AnswerFileDialog(L"Open File", path, timeoutMs);
}

namespace {

// The process's file dialog titled `title`, with its name box when `withNameBox` (a folder
// picker has a box of another number); false when it does not come up in time.
bool FindFileDialog(DWORD processId, const wchar_t* title, bool withNameBox, DWORD timeoutMs,
                    HWND& dialog, HWND& nameBox) {
  return WaitUntil(timeoutMs, [&] {
    dialog = FindTopLevelWindow(processId, title);
    nameBox = dialog ? GetDlgItem(dialog, DIALOG_FILE_NAME_BOX) : nullptr;
    return withNameBox ? nameBox != nullptr : dialog != nullptr;
  });
}

}  // namespace

bool DrivenProgram::AnswerFileDialog(const wchar_t* title, const std::wstring& path,
                                     DWORD timeoutMs) const {
  HWND dialog = nullptr, nameBox = nullptr;
  if (!FindFileDialog(process.dwProcessId, title, !path.empty(), timeoutMs, dialog, nameBox)) {
    return false;
  }
  if (path.empty()) {
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  } else {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL,
                        ANSWER_TIMEOUT_MS, &ignored);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  }
  return WaitUntil(timeoutMs, [&] { return !IsWindow(dialog); });
}

bool DrivenProgram::AcceptFileDialogWithEnter(const wchar_t* title, std::wstring& proposed,
                                              DWORD timeoutMs) const {
  HWND dialog = nullptr, nameBox = nullptr;
  if (!FindFileDialog(process.dwProcessId, title, true, timeoutMs, dialog, nameBox)) return false;
  proposed = ReadControlText(nameBox);
  // The key goes where typing goes: the edit field inside the name box, where it has one.
  HWND typedInto = FindWindowExW(nameBox, nullptr, L"Edit", nullptr);
  if (!typedInto) typedInto = nameBox;
  PostMessageW(typedInto, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(typedInto, WM_KEYUP, VK_RETURN, 1u << 31 | 1u << 30 | 1);
  return WaitUntil(timeoutMs, [&] { return !IsWindow(dialog); });
}

DWORD DrivenProgram::DropFiles(const std::vector<std::wstring>& paths) const {
  // An empty stretch of the client area, left of the buttons and below the fields.
  return DropFilesAt(POINT{200, 355}, paths);
}

DWORD DrivenProgram::DropFilesAt(POINT clientPoint, const std::vector<std::wstring>& paths) const {
  ClientToScreen(window, &clientPoint);
  return DragFilesTo(clientPoint, paths);
}

long DrivenProgram::Close(CloseBy how, DWORD timeoutMs) {
  switch (how) {
    case CloseBy::CLOSE_MESSAGE:
      PostMessageW(window, WM_CLOSE, 0, 0);
      break;
    case CloseBy::SYSTEM_MENU:
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case CloseBy::ALT_F4:
      // Key down with the Alt flag (context code, bit 29), as the system posts it.
      PostMessageW(window, WM_SYSKEYDOWN, VK_F4, (1 << 29) | 1);
      PostMessageW(window, WM_SYSKEYUP, VK_F4, (1u << 31) | (1u << 30) | (1 << 29) | 1);
      break;
  }
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  return static_cast<long>(exitCode);
}

std::wstring ReadListCell(HANDLE process, HWND list, int row, int column) {
  constexpr size_t CELL_LIMIT = 1024;
  const ProgramMemory memory(process, sizeof(LVITEMW) + CELL_LIMIT * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = CELL_LIMIT;
  item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(LVITEMW)));
  DWORD_PTR length = 0;
  if (!memory.At() || !memory.Write(0, &item, sizeof(item)) ||
      !SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(memory.At()), SMTO_NORMAL, ANSWER_TIMEOUT_MS,
                           &length)) {
    return L"";
  }
  return memory.ReadText(sizeof(LVITEMW), std::min<size_t>(length, CELL_LIMIT));
}

ULONGLONG ProcessCpuTime(DWORD processId) {
  ULONGLONG total = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    FILETIME created, exited, kernel, user;
    if (thread && GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      total += (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}).QuadPart;
      total += (ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}).QuadPart;
    }
    if (thread) CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return total;
}
