#include "toolkit/open_file_dialog.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>

#include <cstddef>

#include "toolkit/file_dialog_text.h"
#include "toolkit/thread_windows.h"

namespace {

// The structure up to its template name: without the trailing reserved fields and extended
// flags, which the dialog then takes as absent.
constexpr DWORD OPEN_FILE_NAME_SIZE = 136;
static_assert(OPEN_FILE_NAME_SIZE == offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR));

constexpr DWORD OPEN_FILE_FLAGS =
    OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
static_assert(OPEN_FILE_FLAGS == 0x8080C);
constexpr DWORD SAVE_FILE_FLAGS =
    OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

constexpr DWORD DIALOG_CONTROL_CLASSES = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES |
                                         ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
static_assert(DIALOG_CONTROL_CLASSES == 0xB48);

// The dialog library's one state record.
struct FileDialogs {
  // The last call's file-name buffer (FILE_NAME_CAPACITY units, main heap), freed by the next
  // call.
  wchar_t* fileName;
} fileDialogs;

}  // namespace

void InitFileDialogs() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), DIALOG_CONTROL_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitialize(nullptr);
}

namespace {

Text AskFileName(bool save, const wchar_t* title, const wchar_t* initialFile, const wchar_t* filter,
                 int32_t& filterPosition) {
  ReleaseToMainHeap(fileDialogs.fileName);
  fileDialogs.fileName = AllocateMainHeapText(FILE_NAME_CAPACITY).release();
  if (!fileDialogs.fileName) return Text();

  const MainHeapText filterList = MakeFilterList(filter);
  if (!filterList) return Text();

  MainHeapText directory;
  if (initialFile) {
    directory = SplitInitialFile(initialFile, fileDialogs.fileName);
    if (!directory) return Text();
  }

  OPENFILENAMEW dialog{};
  dialog.lStructSize = OPEN_FILE_NAME_SIZE;
  dialog.hwndOwner = DialogOwnerWindow();
  dialog.lpstrFilter = filterList.get();
  dialog.nFilterIndex = static_cast<DWORD>(filterPosition) + 1;
  dialog.lpstrFile = fileDialogs.fileName;
  dialog.nMaxFile = FILE_NAME_CAPACITY;
  dialog.lpstrInitialDir = directory.get();
  dialog.lpstrTitle = title;
  dialog.Flags = save ? SAVE_FILE_FLAGS : OPEN_FILE_FLAGS;

  DisableThreadWindows();
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  RestoreThreadWindows();

  filterPosition = static_cast<int32_t>(dialog.nFilterIndex) - 1;
  return chosen ? Text(fileDialogs.fileName) : Text();
}

}  // namespace

Text AskOpenFileName(const wchar_t* title, const wchar_t* initialFile, const wchar_t* filter,
                     int32_t filterPosition) {
  return AskFileName(false, title, initialFile, filter, filterPosition);
}

Text AskSaveFileName(const wchar_t* title, const wchar_t* initialFile, const wchar_t* filter,
                     int32_t& filterPosition) {
  return AskFileName(true, title, initialFile, filter, filterPosition);
}
