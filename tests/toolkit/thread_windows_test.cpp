// What a modal dialog does to the program's other windows, without the dialog: which windows
// are disabled and taken out of the topmost band, and that each thread gets back only its own.
#include "toolkit/thread_windows.h"

#include <gtest/gtest.h>

#include "runtime/main_heap.h"
#include "tests/toolkit/plain_test_window.h"

namespace {

struct WindowState {
  bool enabled;
  bool topmost;
  bool operator==(const WindowState&) const = default;
};

void PrintTo(const WindowState& state, std::ostream* out) {
  *out << (state.enabled ? "enabled" : "disabled")
       << (state.topmost ? ", topmost" : ", not topmost");
}

WindowState StateOf(HWND window) {
  return {IsWindowEnabled(window) != FALSE, IsTopmostWindow(window)};
}

constexpr WindowState ENABLED_TOPMOST{true, true};
constexpr WindowState ENABLED_PLAIN{true, false};
constexpr WindowState DISABLED_PLAIN{false, false};

class ThreadWindows : public testing::Test {
 protected:
  void SetUp() override { heapBefore = MainHeapBytesInUse(); }
  void TearDown() override {
    for (HWND window : {foreground, topmost, disabled, hidden}) DestroyWindow(window);
    PumpPending();
    EXPECT_EQ(MainHeapBytesInUse(), heapBefore);
  }

  HWND foreground = MakePlainWindow(L"Foreground");
  HWND topmost = MakePlainWindow(L"Topmost", WS_EX_TOPMOST);
  HWND disabled = MakePlainWindow(L"Disabled before", 0, WS_DISABLED);
  HWND hidden = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Hidden", WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, nullptr, nullptr);
  size_t heapBefore = 0;
};

TEST_F(ThreadWindows, DisableSparesForegroundAndHiddenAndRestoreGivesEverythingBack) {
  ASSERT_TRUE(BringToForeground(foreground));
  ASSERT_EQ(StateOf(topmost), ENABLED_TOPMOST);
  ASSERT_EQ(StateOf(hidden), ENABLED_TOPMOST);

  DisableThreadWindows();
  EXPECT_EQ(StateOf(foreground), ENABLED_PLAIN);
  EXPECT_EQ(StateOf(topmost), DISABLED_PLAIN);
  EXPECT_EQ(StateOf(disabled), DISABLED_PLAIN);
  EXPECT_EQ(StateOf(hidden), ENABLED_TOPMOST);

  RestoreThreadWindows();
  EXPECT_EQ(StateOf(foreground), ENABLED_PLAIN);
  EXPECT_EQ(StateOf(topmost), ENABLED_TOPMOST);
  EXPECT_EQ(StateOf(disabled), DISABLED_PLAIN);
  EXPECT_EQ(StateOf(hidden), ENABLED_TOPMOST);
}

TEST_F(ThreadWindows, OwnerIsOurForegroundWindow) {
  ASSERT_TRUE(BringToForeground(topmost));
  EXPECT_EQ(DialogOwnerWindow(), topmost);
}

// A second thread with a topmost window of its own, which runs a dialog's disable and restore
// while the first thread's windows are still disabled.
struct SecondThread {
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window = nullptr;
  WindowState whileDisabled{};
  WindowState afterRestore{};

  static DWORD WINAPI Run(void* parameter) {
    auto* self = static_cast<SecondThread*>(parameter);
    self->window = MakePlainWindow(L"Second thread", WS_EX_TOPMOST);
    SetEvent(self->made);
    WaitPumping(self->go);
    DisableThreadWindows();
    self->whileDisabled = StateOf(self->window);
    RestoreThreadWindows();
    self->afterRestore = StateOf(self->window);
    DestroyWindow(self->window);
    return 0;
  }
  ~SecondThread() {
    CloseHandle(made);
    CloseHandle(go);
  }
};

TEST_F(ThreadWindows, EachThreadRestoresOnlyItsOwnWindows) {
  SecondThread second;
  HANDLE thread = CreateThread(nullptr, 0, SecondThread::Run, &second, 0, nullptr);
  ASSERT_TRUE(thread);
  ASSERT_TRUE(WaitPumping(second.made));
  ASSERT_TRUE(BringToForeground(foreground));

  DisableThreadWindows();
  EXPECT_EQ(StateOf(topmost), DISABLED_PLAIN);
  EXPECT_EQ(StateOf(second.window), ENABLED_TOPMOST) << "another thread's window was touched";

  SetEvent(second.go);
  ASSERT_TRUE(WaitPumping(thread));
  CloseHandle(thread);
  EXPECT_EQ(second.whileDisabled, DISABLED_PLAIN);
  EXPECT_EQ(second.afterRestore, ENABLED_TOPMOST);
  EXPECT_EQ(StateOf(topmost), DISABLED_PLAIN) << "the second thread undid the first one's change";

  RestoreThreadWindows();
  EXPECT_EQ(StateOf(topmost), ENABLED_TOPMOST);
}

}  // namespace
