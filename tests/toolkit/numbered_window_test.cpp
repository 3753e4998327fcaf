// Numbered windows on the real Win32 interface under Wine: geometry, events, closing.
#include "toolkit/numbered_window.h"

#include <string>

#include "tests/toolkit/toolkit_test_support.h"
#include "toolkit/event_queue.h"
#include "toolkit/toolkit_names.h"

namespace {

constexpr uint32_t MAIN_WINDOW_FLAGS =
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WINDOW_CENTER_ON_SCREEN;  // 0xCA0001
constexpr uint32_t SIZABLE_FLAGS =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

using NumberedWindow = ToolkitTest;

RECT ClientRect(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  return rect;
}

RECT OuterRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

bool ClassRegistered(ObjectNumber number) {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  std::wstring name = WINDOW_CLASS_PREFIX + std::to_wstring(number);
  return GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &info);
}

TEST_F(NumberedWindow, OpensWithTheClientSizeCentredOnTheScreen) {
  auto window =
      reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 1000, 400, L"Main", MAIN_WINDOW_FLAGS));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowHandle(0), window);
  RECT client = ClientRect(window);
  EXPECT_EQ(client.right, 1000);
  EXPECT_EQ(client.bottom, 400);

  RECT outer = OuterRect(window);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0);
  EXPECT_TRUE(IsWindowVisible(window));
  wchar_t className[64];
  GetClassNameW(window, className, 64);
  EXPECT_STREQ(className, L"WindowClass_0");
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(window, PROPERTY_WINDOW_ID)), 1);
  wchar_t title[64];
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"Main");

  // Moving and sizing while the window was being opened raised no events.
  std::vector<SeenEvent> events = TakeQueuedEvents();
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_MOVED), 0u);
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_SIZED), 0u);
}

TEST_F(NumberedWindow, AnOversizedCentredWindowGoesToTheScreensCorner) {
  auto window = reinterpret_cast<HWND>(
      OpenNumberedWindow(3, 100, 100, 4000, 3000, nullptr, WS_CAPTION | WINDOW_CENTER_ON_SCREEN));
  ASSERT_NE(window, nullptr);
  RECT outer = OuterRect(window);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
}

TEST_F(NumberedWindow, PlacesAtTheGivenPositionWithoutCentring) {
  auto window = reinterpret_cast<HWND>(OpenNumberedWindow(1, 120, 90, 300, 200, L"", WS_CAPTION));
  ASSERT_NE(window, nullptr);
  RECT outer = OuterRect(window);
  EXPECT_EQ(outer.left, 120);
  EXPECT_EQ(outer.top, 90);
}

TEST_F(NumberedWindow, TheDefaultPositionIsStillCentredWhenAsked) {
  auto window = reinterpret_cast<HWND>(OpenNumberedWindow(1, WINDOW_DEFAULT_POSITION,
                                                          WINDOW_DEFAULT_POSITION, 300, 200, L"",
                                                          WS_CAPTION | WINDOW_CENTER_ON_SCREEN));
  ASSERT_NE(window, nullptr);
  RECT outer = OuterRect(window);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
}

TEST_F(NumberedWindow, FlagsWithoutStylesGiveACaptionAndTheShortFormASystemMenu) {
  auto hidden = reinterpret_cast<HWND>(OpenNumberedWindow(1, 10, 10, 200, 100, L"", WINDOW_HIDDEN));
  auto plain = reinterpret_cast<HWND>(OpenNumberedWindow(2, 10, 10, 200, 100, L""));
  ASSERT_NE(hidden, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetWindowLongPtrW(hidden, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(GetWindowLongPtrW(plain, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU),
            WS_CAPTION | WS_SYSMENU);
  auto tool = reinterpret_cast<HWND>(
      OpenNumberedWindow(3, 10, 10, 200, 100, L"", WS_SYSMENU | WS_MAXIMIZEBOX | WINDOW_TOOL));
  ASSERT_NE(tool, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(tool, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongPtrW(tool, GWL_STYLE) & WS_MAXIMIZEBOX);
}

TEST_F(NumberedWindow, AnyObjectWindowsAreNumberedByTheirRecord) {
  int64_t number = OpenNumberedWindow(ANY_OBJECT, 10, 10, 200, 100, L"", WS_CAPTION);
  ASSERT_NE(number, 0);
  HWND window = WindowHandle(number);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(window, PROPERTY_WINDOW_ID)), number + 1);
  EXPECT_TRUE(ClassRegistered(number));
  CloseNumberedWindow(number);
  EXPECT_EQ(WindowHandle(number), nullptr);
  EXPECT_FALSE(ClassRegistered(number));
}

TEST_F(NumberedWindow, OpeningAnOpenNumberAgainReplacesTheWindow) {
  auto first =
      reinterpret_cast<HWND>(OpenNumberedWindow(4, 10, 10, 200, 100, L"first", WS_CAPTION));
  auto second =
      reinterpret_cast<HWND>(OpenNumberedWindow(4, 10, 10, 200, 100, L"second", WS_CAPTION));
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(WindowHandle(4), second);
}

TEST_F(NumberedWindow, CloseRequestsRaiseAnEventAndLeaveTheWindowOpen) {
  auto window =
      reinterpret_cast<HWND>(OpenNumberedWindow(2, 50, 50, 300, 200, L"", MAIN_WINDOW_FLAGS));
  ASSERT_NE(window, nullptr);
  PumpEvents();

  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // what the caption's close button sends
  std::vector<SeenEvent> events = WaitForToolkitEvent(EVENT_CLOSE_WINDOW);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().window, 2);
  EXPECT_EQ(events.back().gadget, 2);
  EXPECT_TRUE(IsWindow(window));

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(WaitForToolkitEvent(EVENT_CLOSE_WINDOW).empty());
  PumpEvents();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(WindowHandle(2), window);
}

TEST_F(NumberedWindow, RestoringAfterSizingLeavesOneSizeEvent) {
  auto window = reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 300, 200, L"", SIZABLE_FLAGS));
  ASSERT_NE(window, nullptr);
  PumpEvents();
  SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(window, nullptr, 0, 0, 420, 310, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(window, SW_MAXIMIZE);
  ShowWindow(window, SW_RESTORE);
  std::vector<SeenEvent> events = TakeQueuedEvents();
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_SIZED), 1u);
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_MAXIMIZED), 1u);
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_RESTORED), 1u);
  EXPECT_EQ(events.back().kind, EVENT_WINDOW_SIZED);

  ShowWindow(window, SW_MINIMIZE);
  events = TakeQueuedEvents();
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_MINIMIZED), 1u);
  EXPECT_EQ(CountEvents(events, EVENT_WINDOW_SIZED), 0u);
}

TEST_F(NumberedWindow, TopmostStateShowsInTheExtendedStyle) {
  auto window =
      reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 300, 200, L"", MAIN_WINDOW_FLAGS));
  ASSERT_NE(window, nullptr);
  SetWindowTopmost(0, 1);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowTopmost(0, 0);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowTopmost(9, 1);  // names no window: nothing happens
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(NumberedWindow, CaptionChangesOnlyForAnOpenWindowAndRealText) {
  auto window =
      reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 300, 200, L"before", WS_CAPTION));
  ASSERT_NE(window, nullptr);
  SetWindowCaption(0, L"after");
  SetWindowCaption(0, nullptr);
  SetWindowCaption(5, L"elsewhere");
  wchar_t title[32];
  GetWindowTextW(window, title, 32);
  EXPECT_STREQ(title, L"after");
}

TEST_F(NumberedWindow, ClosingGivesTheNumberTheClassAndTheEventsBack) {
  auto window = reinterpret_cast<HWND>(OpenNumberedWindow(6, 50, 50, 300, 200, L"", WS_CAPTION));
  ASSERT_NE(window, nullptr);
  PostToolkitEvent(EVENT_TIMER, 1, 6, 0, nullptr, nullptr, 0);
  CloseNumberedWindow(6);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(WindowHandle(6), nullptr);
  EXPECT_FALSE(ClassRegistered(6));
  EXPECT_EQ(CountEvents(TakeQueuedEvents(), EVENT_TIMER), 0u);
}

TEST_F(NumberedWindow, AnUnsizableNumberOpensNothingAndClosesNothing) {
  auto window = reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 300, 200, L"", WS_CAPTION));
  ASSERT_NE(window, nullptr);
  const ObjectNumber aliasOfZero = int64_t{1} << 61;  // its slot's offset would wrap to slot 0's
  EXPECT_EQ(OpenNumberedWindow(aliasOfZero, 50, 50, 300, 200, L"", WS_CAPTION), 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(WindowHandle(0), window);
  EXPECT_FALSE(ClassRegistered(aliasOfZero));
}

// Every message the procedure turns into events, sent to window 3 in this order (the size cases
// depend on the ones before them), with the procedure's answer and the events it queued.
TEST_F(NumberedWindow, TheWindowProcedureTurnsMessagesIntoTheirEvents) {
  constexpr ObjectNumber W = 3;
  auto window = reinterpret_cast<HWND>(OpenNumberedWindow(W, 50, 50, 300, 200, L"", SIZABLE_FLAGS));
  ASSERT_NE(window, nullptr);
  auto child = [window](LONG_PTR id) {
    return reinterpret_cast<LPARAM>(CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10,
                                                    window, reinterpret_cast<HMENU>(id), nullptr,
                                                    nullptr));
  };
  const LPARAM control = child(77);
  const LPARAM menuControl = child(MENU_CONTROL_ID);
  HDC deviceContext = GetDC(window);
  PumpEvents();
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    std::vector<SeenEvent> events;
  } cases[] = {
      {"move", WM_MOVE, 0, 0, 0, {{EVENT_WINDOW_MOVED, W, W, 0}}},
      {"minimise", WM_SIZE, SIZE_MINIMIZED, 0, 0, {{EVENT_WINDOW_MINIMIZED, 0, W, 0}}},
      {"restore",
       WM_SIZE,
       SIZE_RESTORED,
       0,
       0,
       {{EVENT_WINDOW_RESTORED, 0, W, 0}, {EVENT_WINDOW_SIZED, 0, W, 0}}},
      {"size", WM_SIZE, SIZE_RESTORED, 0, 0, {{EVENT_WINDOW_SIZED, 0, W, 0}}},
      {"maximise",
       WM_SIZE,
       SIZE_MAXIMIZED,
       0,
       0,
       {{EVENT_WINDOW_MAXIMIZED, 0, W, 0}, {EVENT_WINDOW_SIZED, 0, W, 0}}},
      {"other size", WM_SIZE, SIZE_MAXSHOW, 0, 0, {{EVENT_WINDOW_SIZED, 0, W, 0}}},
      {"deactivate", WM_ACTIVATE, WA_INACTIVE, 0, 1, {{EVENT_WINDOW_DEACTIVATED, 0, W, 0}}},
      {"activate", WM_ACTIVATE, WA_ACTIVE, 0, 1, {{EVENT_WINDOW_ACTIVATED, 0, W, 0}}},
      {"close", WM_CLOSE, 0, 0, 0, {{EVENT_CLOSE_WINDOW, W, W, 0}}},
      {"erase",
       WM_ERASEBKGND,
       reinterpret_cast<WPARAM>(deviceContext),
       0,
       1,
       {{EVENT_WINDOW_REPAINT, 0, W, 0}}},
      {"timer", WM_TIMER, 7, 0, 0, {{EVENT_TIMER, 7, W, 0}}},
      {"left up", WM_LBUTTONUP, 0, 0, 0, {{EVENT_LEFT_BUTTON_UP, 0, W, 0}}},
      {"left double", WM_LBUTTONDBLCLK, 0, 0, 0, {{EVENT_LEFT_DOUBLE_CLICK, 0, W, 0}}},
      {"right up", WM_RBUTTONUP, 0, 0, 0, {{EVENT_RIGHT_BUTTON_UP, 0, W, 0}}},
      {"menu", WM_COMMAND, 123, 0, 0, {{EVENT_MENU, 123, W, 0}}},
      {"accelerator", WM_COMMAND, MAKEWPARAM(555, 1), 0, 0, {{EVENT_MENU, 555, W, 0}}},
      {"control", WM_COMMAND, MAKEWPARAM(77, 5), control, 0, {{EVENT_GADGET, 77, W, 5}}},
      {"menu control", WM_COMMAND, MAKEWPARAM(88, 0), menuControl, 0, {{EVENT_MENU, 88, W, 0}}},
      {"tray left", MESSAGE_TRAY_ICON, 9, WM_LBUTTONDOWN, 0, {{EVENT_TRAY_ICON, 9, W, 0}}},
      {"tray right", MESSAGE_TRAY_ICON, 9, WM_RBUTTONDOWN, 0, {{EVENT_TRAY_ICON, 9, W, 1}}},
      {"tray left double", MESSAGE_TRAY_ICON, 9, WM_LBUTTONDBLCLK, 0, {{EVENT_TRAY_ICON, 9, W, 2}}},
      {"tray right double",
       MESSAGE_TRAY_ICON,
       9,
       WM_RBUTTONDBLCLK,
       0,
       {{EVENT_TRAY_ICON, 9, W, 3}}},
      {"tray move", MESSAGE_TRAY_ICON, 9, WM_MOUSEMOVE, 0, {}},
      {"unknown", WM_USER + 5, 0, 0, 0, {}},
  };
  for (const auto& expected : cases) {
    SCOPED_TRACE(expected.what);
    EXPECT_EQ(SendMessageW(window, expected.message, expected.wParam, expected.lParam),
              expected.result);
    EXPECT_EQ(TakeQueuedEvents(), expected.events);
  }
  ReleaseDC(window, deviceContext);
}

TEST_F(NumberedWindow, StoppingTheLibraryClosesEveryWindow) {
  auto numbered = reinterpret_cast<HWND>(OpenNumberedWindow(1, 10, 10, 200, 100, L"", WS_CAPTION));
  int64_t any = OpenNumberedWindow(ANY_OBJECT, 10, 10, 200, 100, L"", WS_CAPTION);
  HWND anyWindow = WindowHandle(any);
  StopWindows();
  StartWindows();
  EXPECT_FALSE(IsWindow(numbered));
  EXPECT_FALSE(IsWindow(anyWindow));
  EXPECT_EQ(WindowHandle(1), nullptr);
  EXPECT_EQ(WindowHandle(any), nullptr);
  EXPECT_FALSE(ClassRegistered(1));
  EXPECT_EQ(WindowTable()->anyRecords, nullptr);
}

}  // namespace
