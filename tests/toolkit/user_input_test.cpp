// Real keyboard and mouse input through the system, turned into focus moves and events. These
// tests need the foreground, so they run alone.
#include <richedit.h>

#include "tests/toolkit/toolkit_test_support.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

constexpr uint32_t MAIN_WINDOW_FLAGS =
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WINDOW_CENTER_ON_SCREEN;

using UserInput = ToolkitTest;

TEST_F(UserInput, AButtonClickGivesTheMessageFirstThenTheGadgetEvent) {
  auto window =
      reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 300, 200, L"Click", MAIN_WINDOW_FLAGS));
  ASSERT_NE(window, nullptr);
  auto button = reinterpret_cast<HWND>(CreateButton(12, 100, 80, 75, 30, L"Open File"));
  ASSERT_NE(button, nullptr);
  BringToFront(window);

  ClickCentreOf(button);
  std::vector<int64_t> results = WaitResultsUntilEvent(EVENT_GADGET);
  ASSERT_GE(results.size(), 2u);
  EXPECT_EQ(results[results.size() - 2], WM_LBUTTONUP);
  EXPECT_EQ(CurrentEventGadget(), 12);
  EXPECT_EQ(CurrentEventType(), BN_CLICKED);
  EXPECT_EQ(CurrentEventWindow(), 0);
}

TEST_F(UserInput, ATextFieldReportsGainingAndLosingTheFocus) {
  auto window =
      reinterpret_cast<HWND>(OpenNumberedWindow(0, 50, 50, 300, 200, L"Focus", MAIN_WINDOW_FLAGS));
  ASSERT_NE(window, nullptr);
  auto first = reinterpret_cast<HWND>(CreateTextField(1, 10, 10, 200, 20, L"", ES_CENTER));
  auto second = reinterpret_cast<HWND>(CreateTextField(2, 10, 40, 200, 20, L"", ES_CENTER));
  BringToFront(window);
  SetFocus(second);
  PumpEvents();

  SetFocus(first);
  std::vector<SeenEvent> events = PumpEvents();
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(events[0].gadget, 2);
  EXPECT_EQ(events[0].type, GADGET_LOST_FOCUS);
  EXPECT_EQ(events[0].window, 0);
  EXPECT_EQ(CountEvents(events, EVENT_GADGET, 2, EN_KILLFOCUS), 1u);
  EXPECT_EQ(CountEvents(events, EVENT_GADGET, 1, GADGET_FOCUS), 1u);
  EXPECT_EQ(CountEvents(events, EVENT_GADGET, 1, EN_SETFOCUS), 1u);
  // The focus event comes before the edit control's own notification.
  size_t focus = 0, notification = 0;
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].gadget == 1 && events[i].type == GADGET_FOCUS) focus = i;
    if (events[i].gadget == 1 && events[i].type == EN_SETFOCUS) notification = i;
  }
  EXPECT_LT(focus, notification);
}

// A window with four tab stops (three fields and a button) and one control that is not a stop.
class FocusMovement : public ToolkitTest {
 protected:
  void SetUp() override {
    window_ = reinterpret_cast<HWND>(
        OpenNumberedWindow(0, 50, 50, 400, 300, L"Focus", MAIN_WINDOW_FLAGS));
    ASSERT_NE(window_, nullptr);
    for (int i = 1; i <= 3; ++i) CreateTextField(i, 10, 10 + 30 * (i - 1), 200, 20, L"", 1);
    CreateButton(4, 10, 100, 75, 30, L"Button");
    notStop_ = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 150, 200, 20, window_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    BringToFront(window_);
  }

  HWND Gadget(ObjectNumber number) {
    return static_cast<GadgetRecord*>(LookupObject(GadgetTable(), number))->handle;
  }

  // Presses the key for real and lets the wait translate it.
  HWND FocusAfter(HWND from, bool shift) {
    SetFocus(from);
    PumpEvents();
    PressKey(VK_TAB, shift);
    PumpUntil([from] { return GetFocus() != from; }, 300);
    PumpEvents();
    return GetFocus();
  }

  HWND window_ = nullptr;
  HWND notStop_ = nullptr;
};

TEST_F(FocusMovement, TabGoesForwardAndWrapsFromTheLastToTheFirst) {
  ASSERT_EQ(GetActiveWindow(), window_);
  EXPECT_EQ(FocusAfter(Gadget(1), false), Gadget(2));
  EXPECT_EQ(FocusAfter(Gadget(3), false), Gadget(4));
  EXPECT_EQ(FocusAfter(Gadget(4), false), Gadget(1));
}

TEST_F(FocusMovement, ShiftTabGoesBackAndWrapsFromTheFirstToTheLast) {
  EXPECT_EQ(FocusAfter(Gadget(3), true), Gadget(2));
  EXPECT_EQ(FocusAfter(Gadget(1), true), Gadget(4));
}

TEST_F(FocusMovement, FromAControlThatIsNoStopTabStaysAndShiftTabGoesToTheLast) {
  EXPECT_EQ(FocusAfter(notStop_, false), notStop_);
  EXPECT_EQ(FocusAfter(notStop_, true), Gadget(4));
}

TEST_F(FocusMovement, DisabledAndHiddenControlsAreSkipped) {
  EnableWindow(Gadget(2), FALSE);
  ShowWindow(Gadget(3), SW_HIDE);
  EXPECT_EQ(FocusAfter(Gadget(1), false), Gadget(4));
}

TEST_F(FocusMovement, AControlThatWantsRawKeysKeepsTab) {
  SetPropW(Gadget(1), PROPERTY_HOTKEY, reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(FocusAfter(Gadget(1), false), Gadget(1));
  RemovePropW(Gadget(1), PROPERTY_HOTKEY);
  EXPECT_EQ(FocusAfter(Gadget(1), false), Gadget(2));
}

TEST_F(FocusMovement, AnEditableRichEditTakesTabItselfAndAReadOnlyOneDoesNot) {
  ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
  HWND richEdit =
      CreateWindowExW(0, L"RichEdit20W", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 220, 10, 150, 20,
                      window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(richEdit, nullptr);
  EXPECT_EQ(FocusAfter(richEdit, false), richEdit);
  SendMessageW(richEdit, EM_SETREADONLY, TRUE, 0);
  EXPECT_NE(FocusAfter(richEdit, false), richEdit);
}

TEST_F(FocusMovement, TheFocusReturnsToItsControlWhenTheWindowIsActivatedAgain) {
  SetFocus(Gadget(3));
  auto other = reinterpret_cast<HWND>(
      OpenNumberedWindow(1, 500, 400, 200, 100, L"Other", WS_CAPTION | WINDOW_NO_GADGET_LIST));
  BringToFront(other);
  EXPECT_EQ(GetPropW(window_, PROPERTY_FOCUS), Gadget(3));
  BringToFront(window_);
  EXPECT_EQ(GetFocus(), Gadget(3));
}

}  // namespace
