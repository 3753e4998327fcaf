// The event queue and the wait, with real windows and a real second thread.
#include "toolkit/event_queue.h"
#include "toolkit/message_pump.h"

#include <thread>

#include "runtime/main_heap.h"
#include "tests/toolkit/toolkit_test_support.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

using EventQueue = ToolkitTest;

int releasedData;
void CountRelease(void* data) {
  ++releasedData;
  ReleaseToMainHeap(data);
}

void* NewData() {
  return AllocateFromMainHeap(32);
}

void Post(int32_t kind, int64_t gadget, void* data = nullptr, int32_t flags = 0) {
  PostToolkitEvent(kind, gadget, 0, 0, data, data ? CountRelease : nullptr, flags);
}

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

TEST_F(EventQueue, IdenticalEventsInARowMergeButNotAcrossAnother) {
  Post(EVENT_TIMER, 1);
  Post(EVENT_TIMER, 1);
  EXPECT_EQ(TakeQueuedEvents().size(), 1u);

  Post(EVENT_TIMER, 1);
  Post(EVENT_TIMER, 2);
  Post(EVENT_TIMER, 1);
  std::vector<SeenEvent> events = TakeQueuedEvents();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].gadget, 1);
  EXPECT_EQ(events[1].gadget, 2);
  EXPECT_EQ(events[2].gadget, 1);
}

TEST_F(EventQueue, EventsDifferingInWindowOrTypeStaySeparate) {
  PostToolkitEvent(EVENT_GADGET, 1, 0, 0, nullptr, nullptr, 0);
  PostToolkitEvent(EVENT_GADGET, 1, 1, 0, nullptr, nullptr, 0);
  PostToolkitEvent(EVENT_GADGET, 1, 1, 5, nullptr, nullptr, 0);
  EXPECT_EQ(TakeQueuedEvents().size(), 3u);
}

TEST_F(EventQueue, KindsFrom65536OnAreNeverMerged) {
  Post(0x10000, 1);
  Post(0x10000, 1);
  Post(0xFFFF, 1);
  Post(0xFFFF, 1);
  std::vector<SeenEvent> events = TakeQueuedEvents();
  EXPECT_EQ(CountEvents(events, 0x10000), 2u);
  EXPECT_EQ(CountEvents(events, 0xFFFF), 1u);
}

TEST_F(EventQueue, SuppressedPostsAreDroppedAndTheirDataReleasedAtOnce) {
  size_t before = MainHeapBytesInUse();
  releasedData = 0;
  RaiseEventSuppression();
  Post(EVENT_TIMER, 1, NewData());
  Post(EVENT_TIMER, 2);
  EXPECT_EQ(releasedData, 1);
  Post(EVENT_TIMER, 3, NewData(), POST_FORCE);
  LowerEventSuppression();
  std::vector<SeenEvent> events = TakeQueuedEvents();
  ASSERT_EQ(events.size(), 1u) << "only the forced post is kept";
  EXPECT_EQ(events[0].gadget, 3);
  EXPECT_EQ(releasedData, 2);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

TEST_F(EventQueue, MergedPostsReleaseTheirDataAtOnce) {
  size_t before = MainHeapBytesInUse();
  releasedData = 0;
  void* kept = NewData();
  Post(EVENT_WINDOW_DROP, 0, kept);
  Post(EVENT_WINDOW_DROP, 0, NewData());
  EXPECT_EQ(releasedData, 1) << "the merged event's data is not kept, so it goes now";
  ASSERT_EQ(NextQueuedEvent(), EVENT_WINDOW_DROP);
  EXPECT_EQ(CurrentEventData(), kept);
  EXPECT_EQ(NextQueuedEvent(), 0);
  EXPECT_EQ(releasedData, 2);
  EXPECT_EQ(CurrentEventData(), nullptr);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

TEST_F(EventQueue, AnEventsDataStaysValidUntilTheNextWait) {
  releasedData = 0;
  auto* data = static_cast<int*>(NewData());
  *data = 1234;
  Post(EVENT_WINDOW_DROP, 0, data);
  ASSERT_EQ(WaitForEvent(0), EVENT_WINDOW_DROP);
  EXPECT_EQ(*static_cast<int*>(CurrentEventData()), 1234);
  EXPECT_EQ(releasedData, 0);
  WaitForEvent(0);
  EXPECT_EQ(releasedData, 1);
}

TEST_F(EventQueue, RemovingQueuedEventsMatchesWildcardsAndReleasesData) {
  releasedData = 0;
  PostToolkitEvent(EVENT_GADGET, 5, 0, 1, NewData(), CountRelease, 0);
  PostToolkitEvent(EVENT_GADGET, 6, 0, 1, nullptr, nullptr, 0);
  PostToolkitEvent(EVENT_GADGET, 5, 0, 2, nullptr, nullptr, 0);
  PostToolkitEvent(EVENT_TIMER, 5, 0, 1, nullptr, nullptr, 0);
  RemoveQueuedEvents(EVENT_GADGET, 5, ANY_EVENT_FIELD, ANY_EVENT_FIELD);
  EXPECT_EQ(releasedData, 1);
  std::vector<SeenEvent> events = TakeQueuedEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].gadget, 6);
  EXPECT_EQ(events[1].kind, EVENT_TIMER);
}

TEST_F(EventQueue, QueuedEventsComeBeforeSystemMessages) {
  PostMessageW(EventWindowHandle(), WM_USER + 7, 0, 0);
  Post(EVENT_TIMER, 9);
  EXPECT_EQ(WaitForEvent(0), EVENT_TIMER);
  EXPECT_EQ(CurrentEventGadget(), 9);
  EXPECT_EQ(WaitForEvent(0), WM_USER + 7);
  EXPECT_EQ(CurrentEventType(), -1);
}

// Below the second that a timeout read as seconds would take, and far above the time a loaded
// machine may keep this thread from running.
constexpr double AT_ONCE_MS = 900.0;

TEST_F(EventQueue, WaitsReturnAtOnceOrWithinTheirTimeout) {
  PumpEvents();
  LARGE_INTEGER start = Now();
  EXPECT_EQ(WaitForEvent(0), 0);
  EXPECT_LT(MillisecondsSince(start), AT_ONCE_MS);

  start = Now();
  EXPECT_EQ(WaitForEvent(1), 0);
  EXPECT_LT(MillisecondsSince(start), AT_ONCE_MS);

  // It sleeps rather than returning early: the full timeout passes with nothing to do.
  start = Now();
  EXPECT_EQ(WaitForEvent(60), 0);
  EXPECT_GE(MillisecondsSince(start), 45.0);
}

TEST_F(EventQueue, AMessageEndsTheWaitEarly) {
  PumpEvents();
  std::thread poster([] {
    Sleep(20);
    PostMessageW(EventWindowHandle(), WM_USER + 3, 0, 0);
  });
  LARGE_INTEGER start = Now();
  EXPECT_EQ(WaitForEvent(5000), WM_USER + 3);
  EXPECT_LT(MillisecondsSince(start), 2000.0);
  poster.join();
}

UINT PostEventMessage() {
  return RegisterWindowMessageW(POST_EVENT_MESSAGE_NAME);
}

TEST_F(EventQueue, AnEventFromAnotherThreadArrivesOnceAndItsBlockIsFreed) {
  PumpEvents();
  size_t before = MainHeapBytesInUse();
  int payload = 77;
  std::thread poster(
      [&payload] { EXPECT_TRUE(PostEventFromAnotherThread(EVENT_MENU, 42, 3, 8, &payload)); });
  poster.join();
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, EventWindowHandle(), PostEventMessage(), PostEventMessage(),
                           PM_NOREMOVE));
  std::vector<SeenEvent> events = WaitForToolkitEvent(EVENT_MENU);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().gadget, 42);
  EXPECT_EQ(events.back().window, 3);
  EXPECT_EQ(events.back().type, 8);
  EXPECT_EQ(CurrentEventData(), &payload);
  // The same block again has been taken: it is ignored and never looked into.
  PostMessageW(EventWindowHandle(), PostEventMessage(), 0, posted.lParam);
  EXPECT_EQ(CountEvents(PumpEvents(), EVENT_MENU), 0u);
  EXPECT_EQ(MainHeapBytesInUse(), before) << "the posted block is freed";
}

TEST_F(EventQueue, ForeignPostsOfTheMessageAreIgnoredAndNeverLookedInto) {
  PumpEvents();
  const size_t before = MainHeapBytesInUse();
  // What a program that knows the layout might post, and addresses that are no block at all.
  auto* forged = static_cast<EventNode*>(AllocateFromMainHeap(sizeof(EventNode)));
  *forged = EventNode{nullptr, EVENT_MENU, 0, 42, 3, 8, nullptr, nullptr};
  const LPARAM foreign[] = {reinterpret_cast<LPARAM>(forged), 0, 1, LPARAM{0x7FFF00001230}};
  std::thread poster([&foreign] {
    for (LPARAM lParam : foreign) PostMessageW(EventWindowHandle(), PostEventMessage(), 0, lParam);
  });
  poster.join();
  EXPECT_EQ(CountEvents(PumpEvents(), EVENT_MENU), 0u);
  EXPECT_EQ(forged->gadget, 42) << "the block is still its poster's";
  ReleaseToMainHeap(forged);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

}  // namespace
