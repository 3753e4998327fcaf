#pragma once
// Shared by the toolkit's window tests: the libraries started once per process in the program's
// order, and ways to drive real windows and read the events they raise.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

struct SeenEvent {
  int64_t kind;
  int64_t gadget;
  int64_t window;
  int64_t type;
  bool operator==(const SeenEvent&) const = default;
};

void PrintTo(const SeenEvent& event, std::ostream* out);

// Starts the main heap, scaling, the event system, windows and gadgets, as the program does.
void StartToolkitLibraries();

// Takes every queued event without touching the system's message queue.
std::vector<SeenEvent> TakeQueuedEvents();

// Runs WaitForEvent(0) until it finds nothing: every pending message is handled and every event
// taken. Events come back in order; message numbers are left out.
std::vector<SeenEvent> PumpEvents();

// Runs WaitForEvent(1) until the condition holds or the time is up; false on timeout.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 2000);

// Waits until an event of this kind (and, when given, gadget and type) arrives; the events seen
// on the way, that one last, or an empty list on timeout.
std::vector<SeenEvent> WaitForToolkitEvent(int64_t kind, int64_t gadget = -1, int64_t type = -1,
                                           int milliseconds = 2000);

// Every non-zero result of WaitForEvent(1), message numbers included, up to and with the first
// queued event of this kind; an empty list on timeout.
std::vector<int64_t> WaitResultsUntilEvent(int64_t kind, int milliseconds = 2000);

size_t CountEvents(const std::vector<SeenEvent>& events, int64_t kind, int64_t gadget = -1,
                   int64_t type = -1);

// Brings a top-level window to the front with the keyboard focus, as a user's click would.
void BringToFront(HWND window);

// Real input through the system: a left click in the middle of a window, and key strokes.
void ClickCentreOf(HWND window);
void PressKey(WORD virtualKey, bool withShift = false);

// Each test starts with the libraries running and ends with every window closed and no event left.
class ToolkitTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { StartToolkitLibraries(); }
  void TearDown() override;
};
