#include "verify/clipboard.h"

#include "toolkit/scoped_handles.h"

namespace {

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : opened(OpenClipboard(owner)) {}
  ~OpenedClipboard() {
    if (opened) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  const bool opened;
};

}  // namespace

Text ClipboardText(HWND owner) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.opened) return Text();
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return Text();
  GlobalMemoryLock locked(data);
  const auto* text = static_cast<const wchar_t*>(locked.Bytes());
  if (!text) return Text();
  // The block may hold no terminating zero within its size.
  const size_t units = GlobalSize(data) / sizeof(wchar_t);
  size_t length = 0;
  while (length < units && text[length] != L'\0') ++length;
  return Text(text, length);
}

bool PutTextOnClipboard(HWND owner, const Text& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!block) return false;
  {
    GlobalMemoryLock locked(block);
    auto* units = static_cast<wchar_t*>(locked.Bytes());
    if (!units) {
      GlobalFree(block);
      return false;
    }
    text.copy(units, text.size());
    units[text.size()] = L'\0';
  }
  OpenedClipboard clipboard(owner);
  if (!clipboard.opened || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}
