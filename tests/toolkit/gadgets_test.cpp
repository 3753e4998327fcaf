// Text fields and buttons: real Edit and Button controls in a real window under Wine.
#include "toolkit/gadgets.h"

#include "runtime/main_heap.h"
#include "tests/toolkit/toolkit_test_support.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadget_list.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

constexpr uint32_t CENTRED = ES_CENTER;

class Gadgets : public ToolkitTest {
 protected:
  void SetUp() override {
    window_ = reinterpret_cast<HWND>(OpenNumberedWindow(
        0, 50, 50, 1000, 400, L"Gadgets", WS_CAPTION | WS_SYSMENU | WINDOW_CENTER_ON_SCREEN));
    ASSERT_NE(window_, nullptr);
  }

  HWND window_ = nullptr;
};

std::wstring TextOf(HWND control) {
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  return text;
}

HWND Control(ObjectNumber number) {
  auto* record = static_cast<GadgetRecord*>(LookupObject(GadgetTable(), number));
  return record ? record->handle : nullptr;
}

TEST_F(Gadgets, TextFieldsAndButtonsAreTheSystemControlsWithTheirStyles) {
  auto field = reinterpret_cast<HWND>(CreateTextField(1, 10, 10, 980, 20, L"CRC32:", CENTRED));
  auto flat =
      reinterpret_cast<HWND>(CreateTextField(2, 10, 40, 980, 20, nullptr, TEXT_FIELD_BORDERLESS));
  auto button = reinterpret_cast<HWND>(CreateButton(12, 375, 340, 75, 30, L"Open File"));
  ASSERT_NE(field, nullptr);
  ASSERT_NE(flat, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(GetParent(field), window_);
  EXPECT_EQ(Control(1), field);

  wchar_t className[32];
  GetClassNameW(field, className, 32);
  EXPECT_STREQ(className, L"Edit");
  GetClassNameW(button, className, 32);
  EXPECT_STREQ(className, L"Button");

  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(field, GWL_STYLE)), 0x50030081u);
  EXPECT_TRUE(GetWindowLongPtrW(field, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongPtrW(flat, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE)) & 0xFFFF000F, 0x50030000u);

  EXPECT_EQ(GetWindowLongPtrW(field, GWLP_ID), 1);
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(button, PROPERTY_GADGET_ID)), 12);
  EXPECT_EQ(TextOf(field), L"CRC32:");
  EXPECT_EQ(TextOf(flat), L"");

  RECT rect;
  GetWindowRect(field, &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(rect.right - rect.left, 980);
}

TEST_F(Gadgets, EveryGadgetGetsTheSystemsMessageFont) {
  auto field = reinterpret_cast<HWND>(CreateTextField(1, 10, 10, 200, 20, L"x", CENTRED));
  auto button = reinterpret_cast<HWND>(CreateButton(2, 10, 40, 75, 30, L"y"));
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = 500;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0));
  for (HWND control : {field, button}) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, CurrentGadgetList()->defaultFont);
    LOGFONTW used = {};
    GetObjectW(font, sizeof(used), &used);
    EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);
  }
}

TEST_F(Gadgets, ProgramTextRaisesNoEventWhereTheSameChangeByHandWould) {
  auto field = reinterpret_cast<HWND>(CreateTextField(3, 10, 10, 200, 20, L"SHA-1:", CENTRED));
  PumpEvents();
  SetWindowTextW(field, L"typed");
  EXPECT_GT(CountEvents(PumpEvents(), EVENT_GADGET, 3, EN_CHANGE), 0u) << "the control does notify";

  ChangeGadgetText(3, L"SHA-1: 0123");
  EXPECT_EQ(TextOf(field), L"SHA-1: 0123");
  EXPECT_EQ(CountEvents(PumpEvents(), EVENT_GADGET), 0u);
  ChangeGadgetText(3, nullptr);
  EXPECT_EQ(TextOf(field), L"");
  EXPECT_EQ(CountEvents(PumpEvents(), EVENT_GADGET), 0u);
}

TEST_F(Gadgets, ChangingTheTextOfANumberWithoutGadgetDoesNothing) {
  auto field = reinterpret_cast<HWND>(CreateTextField(3, 10, 10, 200, 20, L"kept", CENTRED));
  CreateTextField(7, 10, 40, 200, 20, L"gone", CENTRED);
  DestroyGadget(7);
  for (ObjectNumber number : {ObjectNumber{99}, ObjectNumber{7}}) {
    ChangeGadgetText(number, L"lost");
    ChangeGadgetText(number, nullptr);
  }
  EXPECT_EQ(TextOf(field), L"kept");
  EXPECT_EQ(TextOf(window_), L"Gadgets");
  // A new gadget under the freed number starts with its own text.
  EXPECT_EQ(TextOf(reinterpret_cast<HWND>(CreateTextField(7, 10, 40, 200, 20, L"new", CENTRED))),
            L"new");
}

LRESULT CALLBACK RefuseEveryWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Gadgets, AGadgetWhoseControlCannotBeMadeLeavesTheOldOneOfItsNumber) {
  auto field = reinterpret_cast<HWND>(CreateTextField(5, 10, 10, 200, 20, L"field", CENTRED));
  auto button = reinterpret_cast<HWND>(CreateButton(6, 10, 40, 75, 30, L"button"));
  const size_t heap = MainHeapBytesInUse();
  HHOOK refusal = SetWindowsHookExW(WH_CBT, RefuseEveryWindow, nullptr, GetCurrentThreadId());
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(CreateTextField(5, 10, 10, 200, 20, L"other", CENTRED), 0);
  EXPECT_EQ(CreateButton(6, 10, 40, 75, 30, L"other"), 0);
  EXPECT_EQ(CreateTextField(ANY_OBJECT, 10, 70, 200, 20, L"other", CENTRED), 0);
  UnhookWindowsHookEx(refusal);
  EXPECT_EQ(Control(5), field);
  EXPECT_EQ(Control(6), button);
  EXPECT_EQ(TextOf(field), L"field");
  EXPECT_EQ(TextOf(button), L"button");
  EXPECT_EQ(MainHeapBytesInUse(), heap);
}

TEST_F(Gadgets, RecreatingAFieldReplacesItAndDropsItsQueuedEvents) {
  auto first = reinterpret_cast<HWND>(CreateTextField(5, 10, 10, 200, 20, L"first", CENTRED));
  CreateTextField(6, 10, 40, 200, 20, L"other", CENTRED);
  PumpEvents();
  SetWindowTextW(first, L"edited");  // queues the field's own notifications
  PostToolkitEvent(EVENT_GADGET, 6, 0, 0, nullptr, nullptr, 0);

  auto second = reinterpret_cast<HWND>(CreateTextField(5, 10, 10, 200, 20, L"second", CENTRED));
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_FALSE(IsWindow(first));
  std::vector<SeenEvent> events = TakeQueuedEvents();
  EXPECT_EQ(CountEvents(events, EVENT_GADGET, 5), 0u);
  EXPECT_EQ(CountEvents(events, EVENT_GADGET, 6), 1u);

  EXPECT_EQ(Control(5), second);
  EXPECT_EQ(GetWindowLongPtrW(second, GWLP_ID), 5);
  ChangeGadgetText(5, L"renamed");
  EXPECT_EQ(TextOf(second), L"renamed");
}

TEST_F(Gadgets, AnyObjectGadgetsAreNumberedByTheirRecord) {
  int64_t field = CreateTextField(ANY_OBJECT, 10, 10, 200, 20, L"any", CENTRED);
  int64_t button = CreateButton(ANY_OBJECT, 10, 40, 75, 30, L"any");
  ASSERT_NE(field, 0);
  ASSERT_NE(button, 0);
  EXPECT_NE(field, button);
  EXPECT_EQ(LookupObject(GadgetTable(), field), reinterpret_cast<void*>(field));
  HWND fieldControl = Control(field);
  ASSERT_NE(fieldControl, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(fieldControl, GWLP_ID), field);
  ChangeGadgetText(field, L"changed");
  EXPECT_EQ(TextOf(fieldControl), L"changed");

  SendMessageW(Control(button), BM_CLICK, 0, 0);
  std::vector<SeenEvent> events = PumpEvents();
  EXPECT_EQ(CountEvents(events, EVENT_GADGET, button, BN_CLICKED), 1u);

  DestroyGadget(field);
  EXPECT_FALSE(IsWindow(fieldControl));
  EXPECT_EQ(LookupObject(GadgetTable(), field), nullptr);
  EXPECT_NE(LookupObject(GadgetTable(), button), nullptr);
}

TEST_F(Gadgets, ATextFieldWithColoursAnswersItsWindowsColourMessages) {
  auto field = reinterpret_cast<HWND>(CreateTextField(1, 10, 10, 200, 20, L"", CENTRED));
  HDC deviceContext = GetDC(field);
  // By default the system's colours apply: the window's default handling answers.
  LRESULT answer = SendMessageW(window_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(deviceContext),
                                reinterpret_cast<LPARAM>(field));
  EXPECT_EQ(answer,
            DefWindowProcW(window_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(deviceContext),
                           reinterpret_cast<LPARAM>(field)));

  static_cast<GadgetRecord*>(LookupObject(GadgetTable(), 1))->textColour = RGB(200, 0, 0);
  answer = SendMessageW(window_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(deviceContext),
                        reinterpret_cast<LPARAM>(field));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(answer), GetSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(GetTextColor(deviceContext), RGB(200, 0, 0));
  ReleaseDC(field, deviceContext);
}

TEST_F(Gadgets, ClosingTheWindowFreesEveryGadgetNumber) {
  auto field = reinterpret_cast<HWND>(CreateTextField(7, 10, 10, 200, 20, L"x", CENTRED));
  CreateButton(13, 10, 40, 75, 30, L"Clear");
  CloseNumberedWindow(0);
  EXPECT_FALSE(IsWindow(field));
  EXPECT_EQ(LookupObject(GadgetTable(), 7), nullptr);
  EXPECT_EQ(LookupObject(GadgetTable(), 13), nullptr);
}

TEST_F(Gadgets, DestroyingAllGadgetsLeavesTheWindow) {
  CreateTextField(1, 10, 10, 200, 20, L"", CENTRED);
  CreateButton(2, 10, 40, 75, 30, L"");
  int64_t any = CreateTextField(ANY_OBJECT, 10, 70, 200, 20, L"", CENTRED);
  DestroyGadget(ANY_OBJECT);
  EXPECT_EQ(LookupObject(GadgetTable(), 1), nullptr);
  EXPECT_EQ(LookupObject(GadgetTable(), 2), nullptr);
  EXPECT_EQ(LookupObject(GadgetTable(), any), nullptr);
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(Gadgets, WithoutAGadgetListWindowNoGadgetIsMade) {
  CloseNumberedWindow(0);
  ASSERT_EQ(CurrentGadgetList()->window, nullptr);
  EXPECT_EQ(CreateTextField(1, 10, 10, 200, 20, L"", CENTRED), 0);
  EXPECT_EQ(CreateButton(2, 10, 40, 75, 30, L""), 0);
  EXPECT_EQ(CreateTextField(ANY_OBJECT, 10, 10, 200, 20, L"", CENTRED), 0);
  EXPECT_EQ(LookupObject(GadgetTable(), 1), nullptr);
  EXPECT_EQ(LookupObject(GadgetTable(), 2), nullptr);
}

TEST_F(Gadgets, NewGadgetsGoToTheMostRecentGadgetListWindow) {
  auto second = reinterpret_cast<HWND>(OpenNumberedWindow(1, 100, 100, 300, 200, L"", WS_CAPTION));
  auto inSecond = reinterpret_cast<HWND>(CreateButton(1, 10, 10, 75, 30, L""));
  auto noList = reinterpret_cast<HWND>(
      OpenNumberedWindow(2, 100, 100, 300, 200, L"", WS_CAPTION | WINDOW_NO_GADGET_LIST));
  auto stillSecond = reinterpret_cast<HWND>(CreateButton(2, 10, 50, 75, 30, L""));
  EXPECT_EQ(GetParent(inSecond), second);
  EXPECT_EQ(GetParent(stillSecond), second);
  EXPECT_NE(noList, nullptr);
  EXPECT_EQ(MakeCurrentGadgetList(window_), second);
  EXPECT_EQ(GetParent(reinterpret_cast<HWND>(CreateButton(3, 10, 10, 75, 30, L""))), window_);
}

}  // namespace
