// The real open-file dialog under test: a second thread finds it once it is up, reads what it
// shows, types a path into its file-name box and presses OK or Cancel.
#include "toolkit/open_file_dialog.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <functional>

#include "runtime/main_heap.h"
#include "tests/support/temp_files.h"
#include "tests/toolkit/plain_test_window.h"

namespace {

constexpr wchar_t DIALOG_CLASS[] = L"#32770";
constexpr int FILE_NAME_BOX = cmb13;  // 0x47C: a ComboBoxEx32 in the explorer-style dialog
constexpr int FILE_TYPE_BOX = cmb1;
constexpr DWORD DIALOG_WAIT_MS = 20000;

// What the dialog showed while it was open.
struct DialogView {
  bool found = false;
  std::wstring title;
  HWND owner = nullptr;
  std::wstring fileName;
  std::wstring fileType;
  std::wstring folder;
};

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

struct DialogSearch {
  HWND dialog = nullptr;
};

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM parameter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
      wcscmp(className, DIALOG_CLASS) != 0) {
    return TRUE;
  }
  reinterpret_cast<DialogSearch*>(parameter)->dialog = window;
  return FALSE;
}

// This process's dialog once its file-name box exists, or null after DIALOG_WAIT_MS.
HWND WaitForDialog() {
  const ULONGLONG deadline = GetTickCount64() + DIALOG_WAIT_MS;
  while (GetTickCount64() < deadline) {
    DialogSearch search;
    EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&search));
    if (search.dialog && GetDlgItem(search.dialog, FILE_NAME_BOX)) return search.dialog;
    Sleep(20);
  }
  return nullptr;
}

DialogView ReadDialog(HWND dialog) {
  DialogView view;
  view.found = true;
  view.title = WindowText(dialog);
  view.owner = GetWindow(dialog, GW_OWNER);
  HWND nameBox = GetDlgItem(dialog, FILE_NAME_BOX);
  view.fileName =
      WindowText(reinterpret_cast<HWND>(SendMessageW(nameBox, CBEM_GETEDITCONTROL, 0, 0)));
  HWND typeBox = GetDlgItem(dialog, FILE_TYPE_BOX);
  const LRESULT selected = SendMessageW(typeBox, CB_GETCURSEL, 0, 0);
  wchar_t text[MAX_PATH] = {};
  if (selected != CB_ERR)
    SendMessageW(typeBox, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
  view.fileType = text;
  wchar_t folder[MAX_PATH] = {};
  SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  view.folder = folder;
  return view;
}

// The second thread's script: wait for the dialog, let the test look at it and the program's
// windows, type `path` (when given) and press `button`.
struct DialogDriver {
  std::function<void(HWND dialog)> whileOpen;
  const wchar_t* path = nullptr;
  int button = IDCANCEL;
  DialogView view;

  static DWORD WINAPI Run(void* parameter) {
    auto* self = static_cast<DialogDriver*>(parameter);
    HWND dialog = WaitForDialog();
    if (!dialog) return 1;
    self->view = ReadDialog(dialog);
    if (self->whileOpen) self->whileOpen(dialog);
    if (self->path)
      SendMessageW(GetDlgItem(dialog, FILE_NAME_BOX), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(self->path));
    PostMessageW(GetDlgItem(dialog, self->button), BM_CLICK, 0, 0);
    return 0;
  }
};

Text AskWhileDriving(DialogDriver& driver, const wchar_t* title, const wchar_t* initialFile,
                     const wchar_t* filter, int32_t filterPosition) {
  HANDLE thread = CreateThread(nullptr, 0, DialogDriver::Run, &driver, 0, nullptr);
  EXPECT_TRUE(thread);
  const Text chosen = AskOpenFileName(title, initialFile, filter, filterPosition);
  EXPECT_TRUE(WaitPumping(thread)) << "the driver did not finish";
  CloseHandle(thread);
  EXPECT_TRUE(driver.view.found) << "no dialog appeared";
  return chosen;
}

class OpenFileDialog : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitFileDialogs(); }
  void TearDown() override {
    for (HWND window : {mainWindow, otherWindow, disabledWindow}) DestroyWindow(window);
    PumpPending();
  }

  HWND mainWindow = MakePlainWindow(L"Main", WS_EX_TOPMOST);
  HWND otherWindow = MakePlainWindow(L"Other");
  HWND disabledWindow = MakePlainWindow(L"Disabled before", 0, WS_DISABLED);
};

TEST_F(OpenFileDialog, ChosenPathComesBackExactly) {
  const Text path = WriteScratchFile("chosen file.bin", "content");
  ASSERT_TRUE(BringToForeground(mainWindow));
  DialogDriver driver;
  driver.path = path.c_str();
  driver.button = IDOK;
  EXPECT_EQ(AskWhileDriving(driver, L"Open File", L"*.*", L"All Files (*.*)|*.*", 0), path);
  EXPECT_EQ(driver.view.title, L"Open File");
  EXPECT_EQ(driver.view.owner, mainWindow);
  EXPECT_EQ(driver.view.fileName, L"");
  EXPECT_EQ(driver.view.fileType, L"All Files (*.*)");
}

TEST_F(OpenFileDialog, CancelGivesEmptyText) {
  const Text path = WriteScratchFile("not chosen.bin", "content");
  DialogDriver driver;
  driver.path = path.c_str();
  driver.button = IDCANCEL;
  EXPECT_EQ(AskWhileDriving(driver, L"Open File", L"*.*", L"All Files (*.*)|*.*", 0), L"");
}

TEST_F(OpenFileDialog, InitialFileAndFilterPositionAreShown) {
  const Text folder = TextFromPath(ScratchFolder());
  const Text initialFile = folder + L"\\report.txt";
  DialogDriver driver;
  EXPECT_EQ(AskWhileDriving(driver, L"Pick a report", initialFile.c_str(),
                            L"Text (*.txt)|*.txt|All (*.*)|*.*", 1),
            L"");
  EXPECT_EQ(driver.view.title, L"Pick a report");
  EXPECT_EQ(driver.view.fileName, L"report.txt");
  EXPECT_EQ(driver.view.fileType, L"All (*.*)");
  EXPECT_EQ(driver.view.folder, folder);
}

TEST_F(OpenFileDialog, ProgramWindowsAreDisabledAndLeaveTheTopmostBandOnlyWhileOpen) {
  ASSERT_TRUE(IsTopmostWindow(mainWindow));
  ASSERT_TRUE(BringToForeground(mainWindow));  // the owner; the other window is in the back
  ASSERT_TRUE(IsWindowEnabled(otherWindow));
  bool mainTopmostWhileOpen = true;
  bool otherEnabledWhileOpen = true;
  DialogDriver driver;
  driver.whileOpen = [&](HWND) {
    mainTopmostWhileOpen = IsTopmostWindow(mainWindow);
    otherEnabledWhileOpen = IsWindowEnabled(otherWindow);
  };
  AskWhileDriving(driver, L"Open File", L"*.*", L"All Files (*.*)|*.*", 0);
  EXPECT_FALSE(mainTopmostWhileOpen);
  EXPECT_FALSE(otherEnabledWhileOpen);
  EXPECT_TRUE(IsTopmostWindow(mainWindow));
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  EXPECT_TRUE(IsWindowEnabled(otherWindow));
  EXPECT_FALSE(IsWindowEnabled(disabledWindow)) << "it was disabled before the dialog";
}

TEST_F(OpenFileDialog, FileNameBufferIsKeptOnlyUntilTheNextCall) {
  DialogDriver first;
  AskWhileDriving(first, L"Open File", nullptr, L"All Files (*.*)|*.*", 0);
  const size_t afterFirst = MainHeapBytesInUse();
  DialogDriver second;
  AskWhileDriving(second, L"Open File", L"C:\\data\\report.txt", L"All Files (*.*)|*.*", 0);
  EXPECT_EQ(MainHeapBytesInUse(), afterFirst);
}

}  // namespace
