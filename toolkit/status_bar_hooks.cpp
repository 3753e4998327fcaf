#include <windows.h>
#include <commctrl.h>

#include "runtime/main_heap.h"
#include "toolkit/status_bar.h"
#include "toolkit/status_bar_internals.h"
#include "toolkit/toolkit_names.h"

namespace {

WNDPROC PreviousProcedure(HWND window) {
  return reinterpret_cast<WNDPROC>(GetPropW(window, PROPERTY_STATUS_BAR_CALLBACK));
}

LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!previous) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

// Only a real change of the parent's client size lays the sections out again.
void FollowParentSize(HWND parent) {
  ObjectNumber number;
  if (!StatusBarNumberOf(parent, &number)) return;
  StatusBarRecord* record = FindStatusBar(number);
  if (!record) return;
  RECT client{};
  GetClientRect(GetParent(record->window), &client);
  if (client.right == record->lastWidth && client.bottom == record->lastHeight) return;
  SendMessageW(record->window, WM_SIZE, 0, 0);
  LayoutStatusSections(record);
  InvalidateRect(record->window, nullptr, FALSE);
  record->lastWidth = client.right;
  record->lastHeight = client.bottom;
}

// The control names its own bar, so that a bar made earlier on the same parent tears down
// itself and not the one the parent names now.
void ReleaseStatusBar(HWND control) {
  ObjectNumber number;
  const bool named = StatusBarNumberOf(control, &number);
  RemovePropW(control, PROPERTY_STATUS_BAR_CALLBACK);
  RemovePropW(control, PROPERTY_STATUS_BAR_ID);
  if (!named) return;
  StatusBarRecord* record = FindStatusBar(number);
  if (!record || record->window != control) return;
  HWND parent = GetParent(control);
  ObjectNumber parentNumber;
  if (parent && StatusBarNumberOf(parent, &parentNumber) && parentNumber == number) {
    RemovePropW(parent, PROPERTY_STATUS_BAR_ID);
  }
  ReleaseToMainHeap(record->sections);
  ReleaseObjectRecord(StatusBarTable(), number);
}

}  // namespace

bool StatusBarNumberOf(HWND window, ObjectNumber* number) {
  // The property holds the number plus 1, so that a missing one (0) means no status bar.
  const auto stored = reinterpret_cast<intptr_t>(GetPropW(window, PROPERTY_STATUS_BAR_ID));
  if (stored == 0) return false;
  *number = static_cast<ObjectNumber>(stored) - 1;
  return true;
}

void SetStatusBarNumber(HWND window, ObjectNumber number) {
  const auto stored = static_cast<intptr_t>(number + 1);
  SetPropW(window, PROPERTY_STATUS_BAR_ID, reinterpret_cast<HANDLE>(stored));
}

LRESULT CALLBACK ParentSizeHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = PreviousProcedure(window);
  if (message == WM_SIZE && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED)) {
    FollowParentSize(window);
  } else if (message == WM_NCDESTROY) {
    // The procedure is not put back: the window is going away.
    RemovePropW(window, PROPERTY_STATUS_BAR_CALLBACK);
  }
  return PassOn(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK StatusWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = PreviousProcedure(window);
  if (message == WM_NCDESTROY) ReleaseStatusBar(window);
  return PassOn(previous, window, message, wParam, lParam);
}
