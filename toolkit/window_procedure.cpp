// The window procedure of every toolkit window: window messages become toolkit events.
#include <ole2.h>

#include "runtime/main_heap.h"
#include "toolkit/event_queue.h"
#include "toolkit/focus_movement.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"
#include "toolkit/window_internals.h"

namespace {

// What the procedure knows about the window a message is for.
struct MessageTarget {
  HWND window;
  ObjectNumber number;   // of the enclosing toolkit window, -1 when none
  WindowRecord* record;  // null when the number names no open window
  bool own;              // the message is for the toolkit window itself
};

MessageTarget FindTarget(HWND window) {
  MessageTarget target = {window, -1, nullptr, false};
  target.number = EnclosingWindowNumber(window);
  target.record = static_cast<WindowRecord*>(LookupObject(WindowTable(), target.number));
  target.own = target.record && target.record->window == window;
  return target;
}

void Post(const MessageTarget& target, int32_t kind, int64_t gadget = 0, int64_t type = 0) {
  PostToolkitEvent(kind, gadget, target.number, type, nullptr, nullptr, 0);
}

void PostSized(const MessageTarget& target) {
  RemoveQueuedEvents(EVENT_WINDOW_SIZED, ANY_EVENT_FIELD, target.number, ANY_EVENT_FIELD);
  Post(target, EVENT_WINDOW_SIZED);
}

LRESULT OnSize(const MessageTarget& target, WPARAM sizeType) {
  if (target.record && !target.own) return 1;
  if (!target.record || !target.record->ready) return NOT_HANDLED;
  WindowRecord* record = target.record;
  switch (sizeType) {
    case SIZE_MINIMIZED:
      record->minimizedOrMaximized = 1;
      Post(target, EVENT_WINDOW_MINIMIZED);
      break;
    case SIZE_MAXIMIZED:
      record->minimizedOrMaximized = 1;
      Post(target, EVENT_WINDOW_MAXIMIZED);
      Post(target, EVENT_WINDOW_SIZED);
      break;
    case SIZE_RESTORED:
      if (record->minimizedOrMaximized) {
        record->minimizedOrMaximized = 0;
        Post(target, EVENT_WINDOW_RESTORED);
      }
      PostSized(target);
      break;
    default:
      PostSized(target);
      break;
  }
  return 0;
}

LRESULT OnActivate(const MessageTarget& target, WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE) {
    if (auto focus = static_cast<HWND>(GetPropW(target.window, PROPERTY_FOCUS))) SetFocus(focus);
    Post(target, EVENT_WINDOW_ACTIVATED);
  } else {
    SetPropW(target.window, PROPERTY_FOCUS, GetFocus());
    HideFocusCues(target.window);
    Post(target, EVENT_WINDOW_DEACTIVATED);
  }
  return 1;
}

LRESULT OnEraseBackground(const MessageTarget& target, HDC deviceContext) {
  LRESULT result = NOT_HANDLED;
  WindowRecord* record = target.record;
  if (record && record->backgroundBrush) {
    if (record->paintBackground) {
      record->paintBackground(record, deviceContext);
    } else {
      RECT client;
      GetClientRect(target.window, &client);
      FillRect(deviceContext, &client, record->backgroundBrush);
    }
    result = 1;
  } else if (target.own && record->backgroundColourSet && record->paintBackground) {
    result = record->paintBackground(record, deviceContext);
  }
  Post(target, EVENT_WINDOW_REPAINT);
  return result;
}

BOOL CALLBACK ForwardSystemColourChange(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

LRESULT OnSystemColourChange(const MessageTarget& target) {
  if (!target.record || !target.record->mdiClient) {
    EnumChildWindows(target.window, ForwardSystemColourChange, 0);
  }
  return NOT_HANDLED;
}

void RaiseLimit(LONG* limit, uint16_t clientLimit, LONG frame) {
  if (clientLimit) *limit = clientLimit + frame;
}

LRESULT OnMinMaxInfo(const MessageTarget& target, MINMAXINFO* info) {
  WindowRecord* record = target.record;
  if (!record) return NOT_HANDLED;
  auto style = static_cast<DWORD>(GetWindowLongPtrW(target.window, GWL_STYLE));
  auto extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(target.window, GWL_EXSTYLE));
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  LONG frameWidth = frame.right - frame.left;
  LONG frameHeight = frame.bottom - frame.top;
  RaiseLimit(&info->ptMinTrackSize.x, record->minWidth, frameWidth);
  RaiseLimit(&info->ptMinTrackSize.y, record->minHeight, frameHeight);
  RaiseLimit(&info->ptMaxTrackSize.x, record->maxWidth, frameWidth);
  RaiseLimit(&info->ptMaxTrackSize.y, record->maxHeight, frameHeight);
  if (!record->minWidth && (extendedStyle & WS_EX_TOOLWINDOW)) info->ptMinTrackSize.x = 1;
  return 0;
}

HWND ControlOfMessage(UINT message, LPARAM lParam) {
  if (message == WM_NOTIFY) return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
  return reinterpret_cast<HWND>(lParam);
}

LRESULT OnCommand(const MessageTarget& target, WPARAM wParam, LPARAM lParam) {
  LRESULT answer =
      PassToGadgetKind(reinterpret_cast<HWND>(lParam), target.window, WM_COMMAND, wParam, lParam);
  if (answer != NOT_HANDLED) return answer;
  if (lParam) {
    LONG_PTR id = GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_ID);
    if (id == MENU_CONTROL_ID) {
      Post(target, EVENT_MENU, LOWORD(wParam));
    } else {
      Post(target, EVENT_GADGET, id, HIWORD(wParam));
    }
  } else if (HIWORD(wParam) == 0) {
    Post(target, EVENT_MENU, static_cast<int64_t>(wParam));
  } else if (LOWORD(wParam) == COMMAND_FOCUS_NEXT) {
    MoveFocusForward();
  } else if (LOWORD(wParam) == COMMAND_FOCUS_PREVIOUS) {
    MoveFocusBackward();
  } else {
    Post(target, EVENT_MENU, LOWORD(wParam));
  }
  return 0;
}

LRESULT OnTrayIcon(const MessageTarget& target, WPARAM wParam, LPARAM lParam) {
  switch (lParam) {
    case WM_LBUTTONDOWN:
      Post(target, EVENT_TRAY_ICON, wParam, TRAY_LEFT_BUTTON_DOWN);
      break;
    case WM_LBUTTONDBLCLK:
      Post(target, EVENT_TRAY_ICON, wParam, TRAY_LEFT_DOUBLE_CLICK);
      break;
    case WM_RBUTTONDOWN:
      Post(target, EVENT_TRAY_ICON, wParam, TRAY_RIGHT_BUTTON_DOWN);
      break;
    case WM_RBUTTONDBLCLK:
      Post(target, EVENT_TRAY_ICON, wParam, TRAY_RIGHT_DOUBLE_CLICK);
      break;
    default:
      break;
  }
  PostMessageW(target.window, WM_NULL, 0, 0);
  return 0;
}

LRESULT OnNcDestroy(const MessageTarget& target) {
  HWND window = target.window;
  RemovePropW(window, PROPERTY_FOCUS);
  RemovePropW(window, PROPERTY_WINDOW_ID);
  if (RemovePropW(window, PROPERTY_DROP_ACCEPT)) RevokeDragDrop(window);
  if (WindowRecord* record = target.record) {
    ReleaseToMainHeap(record->accelerators);
    if (record->acceleratorTable) DestroyAcceleratorTable(record->acceleratorTable);
    if (record->backgroundBrush) DeleteObject(record->backgroundBrush);
    if (!record->mdiClient)
      UnregisterClassW(WindowClassName(target.number).c_str(), GetModuleHandleW(nullptr));
    ReleaseObjectRecord(WindowTable(), target.number);
  }
  RemoveQueuedEvents(ANY_EVENT_FIELD, ANY_EVENT_FIELD, target.number, ANY_EVENT_FIELD);
  return 1;
}

LRESULT HandleWindowMessage(const MessageTarget& target, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  switch (message) {
    case WM_MOVE:
      if (target.own && target.record->ready) Post(target, EVENT_WINDOW_MOVED, target.number);
      return 0;
    case WM_SIZE:
      return OnSize(target, wParam);
    case WM_ACTIVATE:
      return OnActivate(target, wParam);
    case WM_CLOSE:
      // The window goes only when the program closes it.
      if (target.own) Post(target, EVENT_CLOSE_WINDOW, target.number);
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBackground(target, reinterpret_cast<HDC>(wParam));
    case WM_SYSCOLORCHANGE:
      return OnSystemColourChange(target);
    case WM_GETMINMAXINFO:
      return OnMinMaxInfo(target, reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case MESSAGE_GADGET_PARENT:
      return PassToGadgetKind(ControlOfMessage(message, lParam), target.window, message, wParam,
                              lParam);
    case WM_COMMAND:
      return OnCommand(target, wParam, lParam);
    case WM_TIMER:
      if (!target.record) return NOT_HANDLED;
      Post(target, EVENT_TIMER, wParam);
      return 0;
    case WM_LBUTTONUP:
      Post(target, EVENT_LEFT_BUTTON_UP);
      return 0;
    case WM_LBUTTONDBLCLK:
      Post(target, EVENT_LEFT_DOUBLE_CLICK);
      return 0;
    case WM_RBUTTONUP:
      Post(target, EVENT_RIGHT_BUTTON_UP);
      return 0;
    case MESSAGE_TRAY_ICON:
      return OnTrayIcon(target, wParam, lParam);
    case WM_NCDESTROY:
      return OnNcDestroy(target);
    default:
      return NOT_HANDLED;
  }
}

}  // namespace

LRESULT CALLBACK ToolkitWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = HandleWindowMessage(FindTarget(window), message, wParam, lParam);
  if (result != NOT_HANDLED) return result;
  if (auto mdiClient = static_cast<HWND>(GetPropW(window, PROPERTY_MDI_GADGET))) {
    return DefFrameProcW(window, mdiClient, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
