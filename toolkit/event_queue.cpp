#include "toolkit/event_queue.h"

#include "runtime/main_heap.h"
#include "toolkit/block_pool.h"
#include "toolkit/library_state.h"
#include "toolkit/toolkit_names.h"

namespace {

struct EventQueueState {
  BlockPool* nodes;  // ours: one EventNode an item, no lock, not shared
  EventNode* head;
  EventNode* tail;
  int32_t suppressCount;
  int32_t kind;
  int64_t window;
  int64_t gadget;
  int64_t type;
  void* data;
  EventDataRelease releaseData;
};

constexpr int32_t NODE_POOL_MIN_ITEMS = 16;
constexpr int32_t NODE_POOL_MAX_ITEMS = 256;
constexpr uint32_t NODE_POOL_UNLOCKED = 2;
constexpr int32_t FIRST_UNMERGED_KIND = 0x10000;

EventQueueState* queue;
HWND eventWindow;  // ours: destroyed by StopEventSystem
UINT postEventMessage;

// Blocks posted to the hidden window and not yet taken, ours, linked through `next`. Any program
// can post the registered message with any lParam: the window takes only a block of this list.
// Other threads add to it, so it changes only under its lock.
EventNode* outstandingPosts;
SRWLOCK outstandingPostsLock = SRWLOCK_INIT;

class OutstandingPostsLock {
 public:
  OutstandingPostsLock() { AcquireSRWLockExclusive(&outstandingPostsLock); }
  ~OutstandingPostsLock() { ReleaseSRWLockExclusive(&outstandingPostsLock); }
  OutstandingPostsLock(const OutstandingPostsLock&) = delete;
  OutstandingPostsLock& operator=(const OutstandingPostsLock&) = delete;
};

void AddOutstandingPost(EventNode* block) {
  OutstandingPostsLock lock;
  block->next = outstandingPosts;
  outstandingPosts = block;
}

// The outstanding block at this address, taken off the list; null when there is none. Only the
// list's own blocks are looked into: the address itself may point anywhere.
EventNode* TakeOutstandingPost(LPARAM address) {
  OutstandingPostsLock lock;
  for (EventNode** link = &outstandingPosts; *link; link = &(*link)->next) {
    EventNode* block = *link;
    if (reinterpret_cast<LPARAM>(block) != address) continue;
    *link = block->next;
    return block;
  }
  return nullptr;
}

// The posts the hidden window never handled go with it.
void ReleaseOutstandingPosts() {
  EventNode* block;
  {
    OutstandingPostsLock lock;
    block = outstandingPosts;
    outstandingPosts = nullptr;
  }
  while (block) {
    EventNode* next = block->next;
    ReleaseToMainHeap(block);
    block = next;
  }
}

void ReleaseEventData(void* data, EventDataRelease releaseData) {
  if (data && releaseData) releaseData(data);
}

bool SameEvent(const EventNode* node, int32_t kind, int64_t gadget, int64_t window, int64_t type) {
  return node->kind == kind && node->gadget == gadget && node->window == window &&
         node->type == type;
}

bool FieldMatches(int64_t pattern, int64_t value) {
  return pattern == ANY_EVENT_FIELD || pattern == value;
}

LRESULT CALLBACK EventWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A hidden top-level window, it is among those asked to close the program (taskkill asks every
  // one), maybe before the program's own window exists: the program answers, and this window,
  // which the posts from other threads need, stays.
  if (message == WM_CLOSE) {
    PostToolkitEvent(EVENT_CLOSE_WINDOW, 0, 0, 0, nullptr, nullptr, POST_FORCE);
    return 0;
  }
  if (message == postEventMessage && postEventMessage) {
    if (EventNode* posted = TakeOutstandingPost(lParam)) {
      PostToolkitEvent(posted->kind, posted->gadget, posted->window, posted->type, posted->data,
                       nullptr, POST_FORCE);
      ReleaseToMainHeap(posted);
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void InitQueueState(void* state) {
  static_cast<EventQueueState*>(state)->nodes = CreateBlockPool(
      sizeof(EventNode), NODE_POOL_MIN_ITEMS, NODE_POOL_MAX_ITEMS, NODE_POOL_UNLOCKED);
  static_cast<EventQueueState*>(state)->type = -1;
}

}  // namespace

void StartEventSystem() {
  if (!queue) {
    queue = static_cast<EventQueueState*>(
        AllocateLibraryState(sizeof(EventQueueState), InitQueueState));
  }
  if (eventWindow) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = EventWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = POST_EVENT_CLASS;
  RegisterClassExW(&windowClass);
  eventWindow = CreateWindowExW(0, POST_EVENT_CLASS, L"", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr,
                                instance, nullptr);
  postEventMessage = RegisterWindowMessageW(POST_EVENT_MESSAGE_NAME);
}

void StopEventSystem() {
  if (eventWindow) DestroyWindow(eventWindow);
  eventWindow = nullptr;
  UnregisterClassW(POST_EVENT_CLASS, GetModuleHandleW(nullptr));
  ReleaseOutstandingPosts();
}

bool PostEventFromAnotherThread(int32_t kind, int64_t gadget, int64_t window, int64_t type,
                                void* data) {
  HWND target = eventWindow;
  if (!target || !postEventMessage) return false;
  auto* block = static_cast<EventNode*>(AllocateFromMainHeap(sizeof(EventNode)));
  if (!block) return false;
  *block = EventNode{nullptr, kind, POST_FORCE, gadget, window, type, data, nullptr};
  AddOutstandingPost(block);
  if (PostMessageW(target, postEventMessage, 0, reinterpret_cast<LPARAM>(block))) return true;
  if (TakeOutstandingPost(reinterpret_cast<LPARAM>(block))) ReleaseToMainHeap(block);
  return false;
}

bool PostToolkitEvent(int32_t kind, int64_t gadget, int64_t window, int64_t type, void* data,
                      EventDataRelease releaseData, int32_t postFlags) {
  // The queue owns the data from here: data of an event it does not keep is released at once.
  if (!queue || (queue->suppressCount > 0 && !(postFlags & POST_FORCE))) {
    ReleaseEventData(data, releaseData);
    return false;
  }
  EventNode* tail = queue->tail;
  if (tail && kind < FIRST_UNMERGED_KIND && SameEvent(tail, kind, gadget, window, type)) {
    ReleaseEventData(data, releaseData);
    return false;
  }
  auto* node = static_cast<EventNode*>(PoolAllocate(queue->nodes));
  if (!node) {
    ReleaseEventData(data, releaseData);
    return false;
  }
  *node = EventNode{nullptr, kind, postFlags, gadget, window, type, data, releaseData};
  if (tail) {
    tail->next = node;
  } else {
    queue->head = node;
  }
  queue->tail = node;
  return true;
}

void RemoveQueuedEvents(int32_t kind, int64_t gadget, int64_t window, int64_t type) {
  if (!queue) return;
  EventNode* previous = nullptr;
  EventNode* node = queue->head;
  while (node) {
    EventNode* next = node->next;
    if (FieldMatches(kind, node->kind) && FieldMatches(gadget, node->gadget) &&
        FieldMatches(window, node->window) && FieldMatches(type, node->type)) {
      if (previous) {
        previous->next = next;
      } else {
        queue->head = next;
      }
      if (queue->tail == node) queue->tail = previous;
      ReleaseEventData(node->data, node->releaseData);
      PoolFree(queue->nodes, node);
    } else {
      previous = node;
    }
    node = next;
  }
}

void RaiseEventSuppression() {
  if (queue) ++queue->suppressCount;
}

void LowerEventSuppression() {
  if (queue) --queue->suppressCount;
}

int32_t NextQueuedEvent() {
  if (!queue) return 0;
  queue->kind = 0;
  ReleaseEventData(queue->data, queue->releaseData);
  queue->data = nullptr;
  queue->releaseData = nullptr;
  queue->type = -1;
  EventNode* node = queue->head;
  if (!node) return 0;
  queue->kind = node->kind;
  queue->gadget = node->gadget;
  queue->window = node->window;
  queue->type = node->type;
  queue->data = node->data;
  queue->releaseData = node->releaseData;
  queue->head = node->next;
  if (!queue->head) queue->tail = nullptr;
  PoolFree(queue->nodes, node);
  return queue->kind;
}

int64_t CurrentEventGadget() {
  return queue ? queue->gadget : 0;
}
int64_t CurrentEventWindow() {
  return queue ? queue->window : 0;
}
int64_t CurrentEventType() {
  return queue ? queue->type : -1;
}
void* CurrentEventData() {
  return queue ? queue->data : nullptr;
}

HWND EventWindowHandle() {
  return eventWindow;
}
