// Status bars on real comctl32 status controls in real toolkit windows.
#include "toolkit/status_bar.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "runtime/main_heap.h"
#include "runtime/text.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "tests/toolkit/toolkit_test_support.h"
#include "toolkit/visual_styles.h"

namespace {

constexpr ObjectNumber WINDOW = 0;
constexpr ObjectNumber BAR = 14;
constexpr ObjectNumber SECOND_BAR = 15;
constexpr uint32_t FIXED_FRAME = WS_CAPTION | WS_SYSMENU;
constexpr uint32_t SIZABLE_FRAME = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

class ToolkitEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    StartToolkitLibraries();
    InitStatusBars();
    // The numbers' slots and records stay allocated once used: use them once before any test
    // counts heap bytes.
    OpenNumberedWindow(WINDOW, 20, 20, 300, 200, L"Warm-up", FIXED_FRAME);
    MakeStatusBar(BAR, WindowHandle(WINDOW));
    MakeStatusBar(SECOND_BAR, WindowHandle(WINDOW));
    CloseNumberedWindow(WINDOW);
  }
  void TearDown() override {
    StopGadgets();
    StopWindows();
    StopEventSystem();
  }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

std::vector<int> RightEdges(HWND control) {
  const auto count = static_cast<int>(SendMessageW(control, SB_GETPARTS, 0, 0));
  std::vector<int> edges(count);
  SendMessageW(control, SB_GETPARTS, count, reinterpret_cast<LPARAM>(edges.data()));
  return edges;
}

Text SectionText(HWND control, int section) {
  const auto length = LOWORD(SendMessageW(control, SB_GETTEXTLENGTHW, section, 0));
  Text text(length + 1, L'\0');
  SendMessageW(control, SB_GETTEXTW, section, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

WORD SectionDrawingType(HWND control, int section) {
  return HIWORD(SendMessageW(control, SB_GETTEXTLENGTHW, section, 0));
}

HWND ControlOf(ObjectNumber number) {
  auto* record = static_cast<StatusBarRecord*>(LookupObject(StatusBarTable(), number));
  return record ? record->window : nullptr;
}

int ClientWidth(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.right;
}

// The SB_SETMINHEIGHT values sent on this thread while the hook is set. Under Wine the control's
// own minimum is 18 already, so its height cannot tell whether the bar asked for it.
std::vector<WPARAM> minimumHeightsSent;

LRESULT CALLBACK NoteMinimumHeight(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == SB_SETMINHEIGHT) {
    minimumHeightsSent.push_back(sent->wParam);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class StatusBarTest : public testing::Test {
 protected:
  void TearDown() override {
    CloseNumberedWindow(WINDOW);
    PumpEvents();
    // The window took its status bars with it, down to the last byte.
    EXPECT_EQ(LookupObject(StatusBarTable(), BAR), nullptr);
    EXPECT_EQ(MainHeapBytesInUse(), heapBefore);
  }

  HWND OpenParent(int32_t clientWidth, uint32_t frame = FIXED_FRAME) {
    PumpEvents();
    heapBefore = MainHeapBytesInUse();
    OpenNumberedWindow(WINDOW, 20, 20, clientWidth, 200, L"Status bar test", frame);
    PumpEvents();
    return WindowHandle(WINDOW);
  }

  HWND MakeBar(HWND parent, ObjectNumber number = BAR) {
    const int64_t made = MakeStatusBar(number, parent);
    EXPECT_NE(made, 0);
    return reinterpret_cast<HWND>(made);
  }

  size_t heapBefore = 0;
};

TEST_F(StatusBarTest, OneSectionOfAThousandEndsAtAThousandWhateverTheWindowWidth) {
  HWND parent = OpenParent(600);
  minimumHeightsSent.clear();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, NoteMinimumHeight, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  HWND control = MakeBar(parent);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(minimumHeightsSent, std::vector<WPARAM>{18});
  ASSERT_EQ(control, ControlOf(BAR));
  EXPECT_EQ(static_cast<UINT>(GetDlgCtrlID(control)), 0xE404040Fu);
  AppendStatusSection(1000);
  EXPECT_EQ(RightEdges(control), std::vector<int>{1000});

  // The control sits at the bottom of the parent, at least as high as its minimum.
  RECT parentClient{}, bar{};
  GetClientRect(parent, &parentClient);
  GetWindowRect(control, &bar);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, parentClient.bottom);
  EXPECT_EQ(bar.right - bar.left, parentClient.right);
  EXPECT_GE(bar.bottom - bar.top, 18);
}

TEST_F(StatusBarTest, FillSectionsShareWhatTheFixedOnesLeaveAndDropTheRemainder) {
  for (int32_t width : {410, 411}) {
    SCOPED_TRACE(width);
    HWND control = MakeBar(OpenParent(width));
    ASSERT_EQ(ClientWidth(control), width);
    AppendStatusSection(100);
    AppendStatusSection(SECTION_FILL);
    AppendStatusSection(SECTION_FILL);
    EXPECT_EQ(RightEdges(control), (std::vector<int>{100, 255, 410}));
    CloseNumberedWindow(WINDOW);
    PumpEvents();
  }
}

TEST_F(StatusBarTest, ASizableParentKeepsTheCornerOutOfFillSectionsUnlessMaximised) {
  HWND parent = OpenParent(500, SIZABLE_FRAME);
  HWND control = MakeBar(parent);
  AppendStatusSection(SECTION_FILL);
  RECT client{};
  GetClientRect(control, &client);
  EXPECT_EQ(RightEdges(control), std::vector<int>{client.right - client.bottom + 3});

  ShowWindow(parent, SW_MAXIMIZE);
  PumpEvents();
  ASSERT_TRUE(IsZoomed(parent));
  EXPECT_EQ(RightEdges(control), std::vector<int>{ClientWidth(control)});
}

TEST_F(StatusBarTest, TheTwoHundredFiftySeventhSectionChangesNothing) {
  HWND control = MakeBar(OpenParent(600));
  for (int i = 0; i < MAX_STATUS_SECTIONS; ++i) AppendStatusSection(1);
  std::vector<int> full = RightEdges(control);
  ASSERT_EQ(full.size(), 256u);
  EXPECT_EQ(full.back(), 256);

  AppendStatusSection(1);
  EXPECT_EQ(RightEdges(control), full);
  auto* record = static_cast<StatusBarRecord*>(LookupObject(StatusBarTable(), BAR));
  EXPECT_EQ(record->count, 256);
  EXPECT_EQ(record->capacity, 256);  // grown 8 at a time from 8
}

TEST_F(StatusBarTest, EmptyAndNullTextsEmptyTheSection) {
  HWND control = MakeBar(OpenParent(600));
  AppendStatusSection(1000);
  SetStatusSectionText(BAR, 0, L"File Path: C:\\data\\report.txt");
  EXPECT_EQ(SectionText(control, 0), L"File Path: C:\\data\\report.txt");
  SetStatusSectionText(BAR, 0, L"");
  EXPECT_EQ(SectionText(control, 0), L"");

  SetStatusSectionText(BAR, 0, L"File Path: x");
  SetStatusSectionText(BAR, 0, nullptr);
  EXPECT_EQ(SectionText(control, 0), L"");

  // Bars and sections that do not exist change nothing.
  SetStatusSectionText(BAR, 0, L"kept");
  SetStatusSectionText(SECOND_BAR, 0, L"no such bar");
  SetStatusSectionText(BAR, 1, L"no such section");
  SetStatusSectionText(BAR, -1, L"no such section");
  EXPECT_EQ(SectionText(control, 0), L"kept");
}

TEST_F(StatusBarTest, FlagsChooseTheDrawingTypeAndTheAlignmentTabs) {
  HWND control = MakeBar(OpenParent(600));
  for (int i = 0; i < 6; ++i) AppendStatusSection(100);
  // The control may store a tab its own way (Wine shows it as a space): the expectations are
  // what the control makes of the literal texts, set on a section of its own.
  auto asStored = [control](const wchar_t* literal) {
    SendMessageW(control, SB_SETTEXTW, 5, reinterpret_cast<LPARAM>(literal));
    return SectionText(control, 5);
  };
  const Text themedPadding = VisualStylesInUse() ? L"    " : L"";

  SetStatusSectionTextWithFlags(BAR, 0, L"raised", STATUS_TEXT_RAISED | STATUS_TEXT_NO_BORDERS);
  SetStatusSectionTextWithFlags(BAR, 1, L"flat", STATUS_TEXT_NO_BORDERS);
  SetStatusSectionTextWithFlags(BAR, 2, L"centred", STATUS_TEXT_CENTRED | STATUS_TEXT_RIGHT);
  SetStatusSectionTextWithFlags(BAR, 3, L"right", STATUS_TEXT_RIGHT);
  SetStatusSectionTextWithFlags(BAR, 4, nullptr, STATUS_TEXT_RIGHT);

  EXPECT_EQ(SectionDrawingType(control, 0), SBT_POPOUT);
  EXPECT_EQ(SectionText(control, 0), L"raised");
  EXPECT_EQ(SectionDrawingType(control, 1), SBT_NOBORDERS);
  EXPECT_EQ(SectionDrawingType(control, 2), 0);
  EXPECT_EQ(SectionText(control, 2), asStored(L"\tcentred"));
  EXPECT_EQ(SectionText(control, 3), asStored((L"\t\tright" + themedPadding).c_str()));
  EXPECT_EQ(SectionText(control, 4), asStored((L"\t\t" + themedPadding).c_str()));
  EXPECT_NE(CommonControlsVersion(), 0u);
}

TEST_F(StatusBarTest, ASecondBarOnTheSameParentHooksItOnceAndTakesTheAppends) {
  HWND parent = OpenParent(600);
  const LONG_PTR ownProcedure = GetWindowLongPtrW(parent, GWLP_WNDPROC);
  HWND first = MakeBar(parent, BAR);
  const LONG_PTR hook = GetWindowLongPtrW(parent, GWLP_WNDPROC);
  ASSERT_NE(hook, ownProcedure);
  AppendStatusSection(200);

  HWND second = MakeBar(parent, SECOND_BAR);
  EXPECT_EQ(GetWindowLongPtrW(parent, GWLP_WNDPROC), hook);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(parent, L"zq_statusbar_callback")), ownProcedure);
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(parent, L"zq_statusbar_id")), SECOND_BAR + 1);
  AppendStatusSection(300);
  EXPECT_EQ(RightEdges(first), std::vector<int>{200});
  EXPECT_EQ(RightEdges(second), std::vector<int>{300});

  // The earlier bar goes on its own; the later one keeps its sections and its number.
  DestroyStatusBar(BAR);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(LookupObject(StatusBarTable(), BAR), nullptr);
  EXPECT_EQ(ControlOf(SECOND_BAR), second);
  AppendStatusSection(SECTION_FILL);
  SetStatusSectionText(SECOND_BAR, 1, L"still here");
  EXPECT_EQ(RightEdges(second), (std::vector<int>{300, ClientWidth(second)}));
  EXPECT_EQ(SectionText(second, 1), L"still here");
}

TEST_F(StatusBarTest, MinimisingAndRestoringToTheSameSizeDoesNotLayOutAgain) {
  HWND parent = OpenParent(600, SIZABLE_FRAME);
  HWND control = MakeBar(parent);
  AppendStatusSection(SECTION_FILL);
  // A marker layout that only a new layout would overwrite.
  int marker = 123;
  SendMessageW(control, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&marker));

  ShowWindow(parent, SW_MINIMIZE);
  PumpEvents();
  ShowWindow(parent, SW_RESTORE);
  PumpEvents();
  ASSERT_EQ(ClientWidth(parent), 600);
  EXPECT_EQ(RightEdges(control), std::vector<int>{marker});

  // A real change of size does lay the sections out.
  RECT frame{};
  GetWindowRect(parent, &frame);
  SetWindowPos(parent, nullptr, 0, 0, frame.right - frame.left + 40, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  PumpEvents();
  RECT client{};
  GetClientRect(control, &client);
  EXPECT_EQ(RightEdges(control), std::vector<int>{client.right - client.bottom + 3});
}

TEST_F(StatusBarTest, MakingTheBarRaisesNoEventForTheParentsSize) {
  HWND parent = OpenParent(600);
  MakeBar(parent);
  EXPECT_EQ(CountEvents(TakeQueuedEvents(), EVENT_WINDOW_SIZED), 0u);
}

TEST_F(StatusBarTest, DestroyingOrRemakingABarFreesItsNumberAndEverythingItHeld) {
  HWND parent = OpenParent(600);
  const size_t heapWithWindow = MainHeapBytesInUse();
  HWND old = MakeBar(parent);
  HWND replacement = MakeBar(parent);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(ControlOf(BAR), replacement);
  const int64_t chosen = MakeStatusBar(ANY_OBJECT, parent);
  HWND chosenControl = ControlOf(chosen);
  ASSERT_NE(chosenControl, nullptr);
  for (int i = 0; i < 40; ++i) AppendStatusSection(10);  // past the layout's fixed array
  SetStatusSectionText(chosen, 39, L"chosen");
  EXPECT_EQ(RightEdges(chosenControl).back(), 400);
  EXPECT_EQ(SectionText(chosenControl, 39), L"chosen");

  DestroyStatusBar(BAR);
  DestroyStatusBar(ANY_OBJECT);
  EXPECT_FALSE(IsWindow(replacement));
  EXPECT_FALSE(IsWindow(chosenControl));
  EXPECT_EQ(LookupObject(StatusBarTable(), BAR), nullptr);
  EXPECT_EQ(GetPropW(parent, L"zq_statusbar_id"), nullptr);
  PumpEvents();
  // The current bar is gone: appending finds nothing to grow, and the parent's size hook finds
  // no bar but still passes the size on.
  AppendStatusSection(10);
  SendMessageW(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
  EXPECT_EQ(CountEvents(TakeQueuedEvents(), EVENT_WINDOW_SIZED), 1u);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
}

TEST_F(StatusBarTest, AFailedMakeLeavesNothingAndKeepsTheCurrentBar) {
  HWND parent = OpenParent(600);
  HWND control = MakeBar(parent);
  const size_t heapWithBar = MainHeapBytesInUse();
  EXPECT_EQ(MakeStatusBar(SECOND_BAR, nullptr), 0);
  EXPECT_EQ(MakeStatusBar(ANY_OBJECT, nullptr), 0);
  EXPECT_EQ(LookupObject(StatusBarTable(), SECOND_BAR), nullptr);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithBar);
  AppendStatusSection(700);
  EXPECT_EQ(RightEdges(control), std::vector<int>{700});
}

}  // namespace
