// The program's own window, opened and closed a thousand times, gives every resource back.
#include <string>

#include "runtime/main_heap.h"
#include "tests/toolkit/toolkit_test_support.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

using ToolkitLeaks = ToolkitTest;

void OpenTheProgramsWindow() {
  OpenNumberedWindow(0, 50, 50, 1000, 400, L"Leaks", 0xCA0001);
  for (int field = 1; field <= 11; ++field) {
    CreateTextField(field, 10, 10 + 30 * (field - 1), 980, 20, L"label:", ES_CENTER);
  }
  CreateButton(12, 375, 340, 75, 30, L"Open File");
  CreateButton(13, 575, 340, 75, 30, L"Clear");
  ChangeGadgetText(1, L"CRC32: 00000000");
}

bool WindowClassRegistered() {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  return GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_0", &info);
}

TEST_F(ToolkitLeaks, AThousandOpensAndClosesGiveEverythingBack) {
  OpenTheProgramsWindow();
  CloseNumberedWindow(0);
  PumpEvents();
  size_t settled = MainHeapBytesInUse();
  int64_t gadgetSlots = GadgetTable()->capacity;

  for (int round = 0; round < 1000; ++round) {
    OpenTheProgramsWindow();
    PostToolkitEvent(EVENT_TIMER, 1, 0, round, nullptr, nullptr, 0);
    CloseNumberedWindow(0);
    // Answers what other programs send its windows (activation, as theirs come and go), which
    // would otherwise wait for the end of the loop; posted messages stay queued.
    MSG sent;
    PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  PumpEvents();

  EXPECT_EQ(MainHeapBytesInUse(), settled);
  EXPECT_EQ(WindowHandle(0), nullptr);
  for (ObjectNumber gadget = 1; gadget <= 13; ++gadget) {
    EXPECT_EQ(LookupObject(GadgetTable(), gadget), nullptr) << gadget;
  }
  EXPECT_EQ(GadgetTable()->capacity, gadgetSlots);
  EXPECT_FALSE(WindowClassRegistered());
  EXPECT_EQ(NextQueuedEvent(), 0);
}

TEST_F(ToolkitLeaks, AWindowDestroyedDirectlyStillGivesItsRecordBack) {
  OpenTheProgramsWindow();
  CloseNumberedWindow(0);
  size_t settled = MainHeapBytesInUse();
  OpenTheProgramsWindow();
  DestroyWindow(WindowHandle(0));
  EXPECT_EQ(WindowHandle(0), nullptr);
  EXPECT_EQ(LookupObject(GadgetTable(), 12), nullptr);
  EXPECT_EQ(MainHeapBytesInUse(), settled);
}

}  // namespace
