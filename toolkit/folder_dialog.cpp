#include "toolkit/folder_dialog.h"

#include <windows.h>

#include <shobjidl.h>

#include "toolkit/thread_windows.h"

namespace {

// The folder the dialog ended on, or the empty text.
Text ChosenFolder(IFileOpenDialog& dialog) {
  IShellItem* item = nullptr;
  if (FAILED(dialog.GetResult(&item))) return Text();
  PWSTR path = nullptr;
  Text chosen;
  if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
    chosen = path;
    CoTaskMemFree(path);
  }
  item->Release();
  return chosen;
}

}  // namespace

Text AskFolderName(const wchar_t* title) {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog)))) {
    return Text();
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
  dialog->SetTitle(title);
  HWND owner = DialogOwnerWindow();
  DisableThreadWindows();
  const HRESULT shown = dialog->Show(owner);
  RestoreThreadWindows();
  const Text chosen = SUCCEEDED(shown) ? ChosenFolder(*dialog) : Text();
  dialog->Release();
  return chosen;
}
