#include "tests/toolkit/toolkit_test_support.h"

#include "runtime/main_heap.h"
#include "toolkit/dpi_scaling.h"
#include "toolkit/event_queue.h"
#include "toolkit/message_pump.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"

void StartToolkitLibraries() {
  StartMainHeap();
  StartDpiScaling();
  StartEventSystem();
  StartWindows();
  StartGadgets();
}

namespace {

SeenEvent CurrentEvent(int64_t kind) {
  return SeenEvent{kind, CurrentEventGadget(), CurrentEventWindow(), CurrentEventType()};
}

// WaitForEvent answers with a queued event's kind or with a message number; only a queued event
// leaves a current type other than -1 (every event this toolkit raises has a type of 0 or more).
bool CameFromQueue() {
  return CurrentEventType() != -1;
}

}  // namespace

void PrintTo(const SeenEvent& event, std::ostream* out) {
  *out << "{kind " << event.kind << ", gadget " << event.gadget << ", window " << event.window
       << ", type " << event.type << "}";
}

std::vector<SeenEvent> TakeQueuedEvents() {
  std::vector<SeenEvent> events;
  while (int32_t kind = NextQueuedEvent()) events.push_back(CurrentEvent(kind));
  return events;
}

std::vector<SeenEvent> PumpEvents() {
  std::vector<SeenEvent> events;
  while (int64_t result = WaitForEvent(0)) {
    if (CameFromQueue()) events.push_back(CurrentEvent(result));
  }
  return events;
}

bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > static_cast<DWORD>(milliseconds)) return false;
    WaitForEvent(1);
  }
  return true;
}

std::vector<SeenEvent> WaitForToolkitEvent(int64_t kind, int64_t gadget, int64_t type,
                                           int milliseconds) {
  std::vector<SeenEvent> events;
  DWORD start = GetTickCount();
  while (GetTickCount() - start <= static_cast<DWORD>(milliseconds)) {
    int64_t result = WaitForEvent(1);
    if (!result || !CameFromQueue()) continue;
    events.push_back(CurrentEvent(result));
    const SeenEvent& seen = events.back();
    if (seen.kind == kind && (gadget == -1 || seen.gadget == gadget) &&
        (type == -1 || seen.type == type)) {
      return events;
    }
  }
  return {};
}

std::vector<int64_t> WaitResultsUntilEvent(int64_t kind, int milliseconds) {
  std::vector<int64_t> results;
  DWORD start = GetTickCount();
  while (GetTickCount() - start <= static_cast<DWORD>(milliseconds)) {
    int64_t result = WaitForEvent(1);
    if (!result) continue;
    results.push_back(result);
    if (result == kind && CameFromQueue()) return results;
  }
  return {};
}

size_t CountEvents(const std::vector<SeenEvent>& events, int64_t kind, int64_t gadget,
                   int64_t type) {
  size_t count = 0;
  for (const SeenEvent& event : events) {
    if (event.kind == kind && (gadget == -1 || event.gadget == gadget) &&
        (type == -1 || event.type == type)) {
      ++count;
    }
  }
  return count;
}

void BringToFront(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  PumpUntil([window] { return GetForegroundWindow() == window; }, 1000);
  PumpEvents();
}

void ClickCentreOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void PressKey(WORD virtualKey, bool withShift) {
  std::vector<INPUT> inputs;
  auto key = [&inputs](WORD code, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (withShift) key(VK_SHIFT, 0);
  key(virtualKey, 0);
  key(virtualKey, KEYEVENTF_KEYUP);
  if (withShift) key(VK_SHIFT, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ToolkitTest::TearDown() {
  CloseNumberedWindow(ANY_OBJECT);
  PumpEvents();
  TakeQueuedEvents();
}
