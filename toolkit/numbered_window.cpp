#include "toolkit/numbered_window.h"

#include "runtime/main_heap.h"
#include "toolkit/dpi_scaling.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadget_list.h"
#include "toolkit/toolkit_names.h"
#include "toolkit/window_internals.h"

namespace {

constexpr int32_t WINDOW_TABLE_GROW_STEP = 16;
constexpr WORD PROGRAM_ICON_RESOURCE = 1;
constexpr uint32_t WINDOW_CENTERING = WINDOW_CENTER_ON_SCREEN | WINDOW_CENTER_ON_PARENT;
constexpr uint32_t FLAGS_WITHOUT_STYLE = WINDOW_CENTERING | WINDOW_HIDDEN;
constexpr uint32_t TOOL_WINDOW_REMOVED_STYLES =
    WS_MINIMIZE | WS_MAXIMIZE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr uint32_t TOOLKIT_FLAG_BITS = 0x7;
constexpr uint32_t CREATION_STYLE_MASK = 0xFDFFFFF8;  // without the toolkit's own bits
constexpr uint32_t SIZABLE_CAPTION = WS_CAPTION | WS_THICKFRAME;
constexpr int32_t COMPOSITION_BORDER = 5;
constexpr int32_t ACCELERATOR_COUNT = 2;
constexpr int32_t RESERVED_AT_OPEN = -1;

struct WindowLibrary {
  ObjectTable* table;
  HICON icon;      // ours: destroyed by StopWindows
  HCURSOR cursor;  // shared system cursor, not ours to destroy
};

WindowLibrary library;

struct WindowStyle {
  uint32_t style;
  uint32_t extendedStyle;
  bool hidden;
  bool noActivate;
};

WindowStyle StyleFromFlags(uint32_t flags) {
  WindowStyle result = {};
  flags &= ~WINDOW_NO_GADGET_LIST;
  if (!(flags & ~FLAGS_WITHOUT_STYLE)) flags |= WS_CAPTION;
  result.hidden = flags & WINDOW_HIDDEN;
  flags &= ~WINDOW_HIDDEN;
  result.noActivate = flags & WINDOW_NO_ACTIVATE;
  if (flags & WINDOW_TOOL) {
    result.extendedStyle |= WS_EX_TOOLWINDOW;
    flags = (flags & ~TOOL_WINDOW_REMOVED_STYLES) | WS_CAPTION;
  }
  result.style = flags;
  return result;
}

void RegisterWindowClass(const std::wstring& className) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ToolkitWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = library.icon;
  windowClass.hCursor = library.cursor;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className.c_str();
  RegisterClassExW(&windowClass);
}

// Sizable windows are drawn with a wider invisible border while desktop composition is on.
// Asked at every opening: on older systems the user can switch composition off and on.
int32_t CompositionBorder() {
  using IsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
  // The library stays loaded for the process, so that the function found once stays callable.
  static const IsCompositionEnabled isEnabled = [] {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    return dwm ? reinterpret_cast<IsCompositionEnabled>(
                     reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")))
               : nullptr;
  }();
  BOOL enabled = FALSE;
  return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled ? COMPOSITION_BORDER : 0;
}

void CentreWindow(HWND window, uint32_t flags, HWND parent) {
  if ((flags & WINDOW_CENTER_ON_PARENT) && !parent) return;
  RECT outer;
  GetWindowRect(window, &outer);
  int32_t width = outer.right - outer.left;
  int32_t height = outer.bottom - outer.top;
  int32_t x, y;
  if (flags & WINDOW_CENTER_ON_SCREEN) {
    int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (width > screenWidth) width = screenWidth;
    if (height > screenHeight) height = screenHeight;
    x = (screenWidth - width) / 2;
    y = (screenHeight - height) / 2;
  } else {
    RECT parentRect;
    GetWindowRect(parent, &parentRect);
    x = (parentRect.right - parentRect.left - width) / 2 + parentRect.left;
    y = (parentRect.bottom - parentRect.top - height) / 2 + parentRect.top;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
  }
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowCommand(const WindowStyle& style) {
  if (style.style & WS_MAXIMIZE) return style.noActivate ? SW_SHOWNA : SW_SHOWMAXIMIZED;
  if (style.style & WS_MINIMIZE) return style.noActivate ? SW_SHOWMINNOACTIVE : SW_SHOWMINIMIZED;
  return style.noActivate ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL;
}

void FillAccelerators(WindowRecord* record) {
  record->acceleratorCount = ACCELERATOR_COUNT;
  record->accelerators =
      static_cast<ACCEL*>(AllocateFromMainHeap(ACCELERATOR_COUNT * sizeof(ACCEL)));
  if (!record->accelerators) return;
  record->accelerators[0] = ACCEL{FVIRTKEY | FNOINVERT, VK_TAB, COMMAND_FOCUS_NEXT};
  record->accelerators[1] = ACCEL{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, COMMAND_FOCUS_PREVIOUS};
  record->acceleratorTable = CreateAcceleratorTableW(record->accelerators, ACCELERATOR_COUNT);
}

struct Placement {
  int32_t x, y, width, height;
};

Placement PlaceWindow(const WindowStyle& style, uint32_t flags, int32_t x, int32_t y, int32_t width,
                      int32_t height) {
  RECT outer = {0, 0, ScaleX(width), ScaleY(height)};
  AdjustWindowRectEx(&outer, style.style & ~TOOLKIT_FLAG_BITS, FALSE, style.extendedStyle);
  Placement placement = {x, y, outer.right - outer.left, outer.bottom - outer.top};
  if (x == WINDOW_DEFAULT_POSITION ||
      (y == WINDOW_DEFAULT_POSITION && !(flags & WINDOW_CENTERING))) {
    placement.x = placement.y = CW_USEDEFAULT;
    return placement;
  }
  if ((style.style & SIZABLE_CAPTION) == SIZABLE_CAPTION)
    placement.x -= UnscaleX(CompositionBorder());
  placement.x = ScaleX(placement.x);
  placement.y = ScaleY(placement.y);
  return placement;
}

}  // namespace

std::wstring WindowClassName(ObjectNumber number) {
  return WINDOW_CLASS_PREFIX + std::to_wstring(number);
}

void StartWindows() {
  if (!library.table) {
    library.table =
        CreateObjectTable(sizeof(WindowRecord), WINDOW_TABLE_GROW_STEP, CloseNumberedWindow);
  }
  library.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PROGRAM_ICON_RESOURCE));
  library.cursor = LoadCursorW(nullptr, IDC_ARROW);
}

void StopWindows() {
  CloseNumberedWindow(ANY_OBJECT);
  if (library.icon) DestroyIcon(library.icon);
  library.icon = nullptr;
}

ObjectTable* WindowTable() {
  return library.table;
}

int64_t OpenNumberedWindow(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                           const wchar_t* title, uint32_t flags, HWND parent) {
  if (!library.table) return 0;
  auto* record = static_cast<WindowRecord*>(ObtainObjectRecord(library.table, number));
  if (!record) return 0;
  bool chosenNumber = number == ANY_OBJECT;
  if (chosenNumber) number = NumberOfAnyRecord(record);

  std::wstring className = WindowClassName(number);
  RegisterWindowClass(className);
  WindowStyle style = StyleFromFlags(flags);
  Placement placement = PlaceWindow(style, flags, x, y, width, height);
  HWND window =
      CreateWindowExW(style.extendedStyle, className.c_str(), title ? title : L"",
                      style.style & CREATION_STYLE_MASK, placement.x, placement.y, placement.width,
                      placement.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) {
    UnregisterClassW(className.c_str(), GetModuleHandleW(nullptr));
    ReleaseObjectRecord(library.table, number);
    return 0;
  }
  record->window = window;
  record->ready = 0;
  SetPropW(window, PROPERTY_WINDOW_ID, reinterpret_cast<HANDLE>(number + 1));
  if (flags & WINDOW_CENTERING) CentreWindow(window, flags, parent);
  if (!style.hidden) ShowWindow(window, ShowCommand(style));

  record->minimizedOrMaximized = (style.style & (WS_MAXIMIZE | WS_MINIMIZE)) ? 1 : 0;
  FillAccelerators(record);
  record->reserved1 = RESERVED_AT_OPEN;
  record->reserved2 = RESERVED_AT_OPEN;
  record->mdiClient = nullptr;
  if (!(flags & WINDOW_NO_GADGET_LIST)) MakeCurrentGadgetList(window);
  record->ready = 1;
  return chosenNumber ? number : reinterpret_cast<intptr_t>(window);
}

int64_t OpenNumberedWindow(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                           const wchar_t* title) {
  return OpenNumberedWindow(number, x, y, width, height, title, WINDOW_DEFAULT_FLAGS);
}

void CloseNumberedWindow(ObjectNumber number) {
  if (number == ANY_OBJECT) {
    ReleaseAllObjects(library.table);
    return;
  }
  auto* record = static_cast<WindowRecord*>(LookupObject(library.table, number));
  if (!record) return;
  HWND window = record->window;
  HWND mdiClient = record->mdiClient;
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner && !mdiClient) SetActiveWindow(owner);
  if (mdiClient) {
    SendMessageW(mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  } else {
    DestroyWindow(window);
    // A class cannot go while its last window is still in WM_NCDESTROY; now it can.
    UnregisterClassW(WindowClassName(number).c_str(), GetModuleHandleW(nullptr));
  }
  RemoveQueuedEvents(ANY_EVENT_FIELD, ANY_EVENT_FIELD, number, ANY_EVENT_FIELD);
}

HWND WindowHandle(ObjectNumber number) {
  auto* record = static_cast<WindowRecord*>(LookupObject(library.table, number));
  return record ? record->window : nullptr;
}

void SetWindowTopmost(ObjectNumber number, int32_t state) {
  auto* record = static_cast<WindowRecord*>(LookupObject(library.table, number));
  if (!record || record->mdiClient) return;
  SetWindowPos(record->window, state ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void SetWindowCaption(ObjectNumber number, const wchar_t* text) {
  HWND window = WindowHandle(number);
  if (window && text) SetWindowTextW(window, text);
}

ObjectNumber EnclosingWindowNumber(HWND window) {
  HWND found = window;
  while (found && !GetPropW(found, PROPERTY_WINDOW_ID) &&
         (GetWindowLongPtrW(found, GWL_STYLE) & WS_CHILD)) {
    found = GetParent(found);
  }
  if (!found) return -1;
  return reinterpret_cast<intptr_t>(GetPropW(found, PROPERTY_WINDOW_ID)) - 1;
}
