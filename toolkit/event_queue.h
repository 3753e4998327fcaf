#pragma once
// The toolkit's one event queue and the wait that hands its events to the program, pumping the
// system's message queue meanwhile (message_pump.cpp, which stands above the queue and the
// windows). Everything runs on the GUI thread; another thread posts with
// PostEventFromAnotherThread.
#include <windows.h>

#include <cstdint>

// Event kinds.
constexpr int32_t EVENT_GADGET = 13100;
constexpr int32_t EVENT_MENU = 13101;
constexpr int32_t EVENT_TRAY_ICON = 13102;
constexpr int32_t EVENT_WINDOW_ACTIVATED = 13104;
constexpr int32_t EVENT_WINDOW_DROP = 13105;
constexpr int32_t EVENT_GADGET_DROP = 13106;
constexpr int32_t EVENT_WINDOW_MINIMIZED = 13107;
constexpr int32_t EVENT_WINDOW_MAXIMIZED = 13108;
constexpr int32_t EVENT_WINDOW_RESTORED = 13109;
constexpr int32_t EVENT_TIMER = 13110;
constexpr int32_t EVENT_RIGHT_BUTTON_UP = 13111;
constexpr int32_t EVENT_LEFT_BUTTON_UP = 13112;
constexpr int32_t EVENT_LEFT_DOUBLE_CLICK = 13113;
constexpr int32_t EVENT_WINDOW_DEACTIVATED = 13114;
constexpr int32_t EVENT_WINDOW_REPAINT = 13115;
constexpr int32_t EVENT_CLOSE_WINDOW = 13116;
constexpr int32_t EVENT_WINDOW_MOVED = 13117;
constexpr int32_t EVENT_WINDOW_SIZED = 13118;

// Event types of a text field's focus change (EVENT_GADGET).
constexpr int64_t GADGET_FOCUS = 14000;
constexpr int64_t GADGET_LOST_FOCUS = 14001;

// Types of EVENT_TRAY_ICON.
constexpr int64_t TRAY_LEFT_BUTTON_DOWN = 0;
constexpr int64_t TRAY_RIGHT_BUTTON_DOWN = 1;
constexpr int64_t TRAY_LEFT_DOUBLE_CLICK = 2;
constexpr int64_t TRAY_RIGHT_DOUBLE_CLICK = 3;

// Post flag: queue the event even while events are suppressed.
constexpr int32_t POST_FORCE = 1;

// Matches every value of a field in RemoveQueuedEvents.
constexpr int64_t ANY_EVENT_FIELD = -1;

// Releases an event's data; the queue owns the data from the post until the next wait.
using EventDataRelease = void (*)(void* data);

struct EventNode {
  EventNode* next;
  int32_t kind;
  int32_t postFlags;
  int64_t gadget;
  int64_t window;
  int64_t type;
  void* data;
  EventDataRelease releaseData;
};

// Start before the window library and stop after it.
void StartEventSystem();
void StopEventSystem();

// Dropped while events are suppressed (unless forced); merged into an identical tail event for
// kinds below 0x10000. Either way the queue takes ownership of data and releases it at once
// when it does not keep the event. True when the event is queued as a node of its own.
bool PostToolkitEvent(int32_t kind, int64_t gadget, int64_t window, int64_t type, void* data,
                      EventDataRelease releaseData, int32_t postFlags);

// Safe on any thread: the event reaches the queue (forced, with no release routine for its
// data) during the GUI thread's next wait. False when it cannot be sent.
bool PostEventFromAnotherThread(int32_t kind, int64_t gadget, int64_t window, int64_t type,
                                void* data);

// Removes the queued events that match; ANY_EVENT_FIELD in a field matches everything.
void RemoveQueuedEvents(int32_t kind, int64_t gadget, int64_t window, int64_t type);

// Around a change the program makes itself, so that the change raises no event.
void RaiseEventSuppression();
void LowerEventSuppression();

// Releases the current event's data and makes the oldest queued event current; its kind, or 0.
int32_t NextQueuedEvent();

// Fields of the event WaitForEvent returned last.
int64_t CurrentEventGadget();
int64_t CurrentEventWindow();
int64_t CurrentEventType();
void* CurrentEventData();  // valid until the next wait

// The hidden window through which other threads post events: POST_EVENT_MESSAGE_NAME carries a
// block that PostEventFromAnotherThread made. It takes no other block.
HWND EventWindowHandle();
