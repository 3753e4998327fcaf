#include "tests/toolkit/plain_test_window.h"

namespace {

constexpr wchar_t PLAIN_WINDOW_CLASS[] = L"PlainTestWindow";

ATOM RegisterPlainClass() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = PLAIN_WINDOW_CLASS;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  return RegisterClassW(&windowClass);
}

}  // namespace

HWND MakePlainWindow(const wchar_t* title, DWORD extendedStyle, DWORD style) {
  static const ATOM registered = RegisterPlainClass();
  (void)registered;
  HWND window =
      CreateWindowExW(extendedStyle, PLAIN_WINDOW_CLASS, title, WS_OVERLAPPEDWINDOW | style, 100,
                      100, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
  PumpPending();
  return window;
}

bool IsTopmostWindow(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool WaitPumping(HANDLE handle, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE,
                                                 static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return true;
    PumpPending();
  }
}

bool BringToForeground(HWND window) {
  // Asked again until it is so: a loaded machine may take seconds to hand the foreground over.
  const ULONGLONG deadline = GetTickCount64() + 20000;
  while (GetForegroundWindow() != window && GetTickCount64() < deadline) {
    SetForegroundWindow(window);
    PumpPending();
    if (GetForegroundWindow() != window) Sleep(20);
  }
  return GetForegroundWindow() == window;
}
