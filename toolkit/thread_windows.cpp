#include "toolkit/thread_windows.h"

#include <cstdint>

#include "runtime/main_heap.h"

namespace {

// One window that DisableThreadWindows changed, in a program-wide list.
struct DisabledWindowEntry {
  DWORD thread;
  HWND window;  // not ours: the entry only remembers its state
  uint8_t wasTopmost;
  uint8_t disabledHere;
  DisabledWindowEntry* next;
};

// Entries of every thread, newest first. Each thread reads and frees only its own entries, but
// the links are shared, so they change only under the lock; window calls, which may send
// messages, are made outside it.
DisabledWindowEntry* disabledWindows;
SRWLOCK disabledWindowsLock = SRWLOCK_INIT;

class ListLock {
 public:
  ListLock() { AcquireSRWLockExclusive(&disabledWindowsLock); }
  ~ListLock() { ReleaseSRWLockExclusive(&disabledWindowsLock); }
  ListLock(const ListLock&) = delete;
  ListLock& operator=(const ListLock&) = delete;
};

void AddEntry(DisabledWindowEntry* entry) {
  ListLock lock;
  entry->next = disabledWindows;
  disabledWindows = entry;
}

// The first entry of `thread` after `entry` (or from the start when `entry` is null).
DisabledWindowEntry* NextEntryOfThread(DisabledWindowEntry* entry, DWORD thread) {
  ListLock lock;
  DisabledWindowEntry* candidate = entry ? entry->next : disabledWindows;
  while (candidate && candidate->thread != thread) candidate = candidate->next;
  return candidate;
}

// Unlinks the entries of `thread` and returns them as a chain of their own, in list order.
DisabledWindowEntry* DetachEntriesOfThread(DWORD thread) {
  ListLock lock;
  DisabledWindowEntry* detached = nullptr;
  DisabledWindowEntry** detachedEnd = &detached;
  for (DisabledWindowEntry** link = &disabledWindows; *link;) {
    DisabledWindowEntry* entry = *link;
    if (entry->thread != thread) {
      link = &entry->next;
      continue;
    }
    *link = entry->next;
    entry->next = nullptr;
    *detachedEnd = entry;
    detachedEnd = &entry->next;
  }
  return detached;
}

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void PlaceInBand(HWND window, HWND band) {
  SetWindowPos(window, band, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

BOOL CALLBACK DisableWhenOwnAndVisible(HWND window, LPARAM) {
  const DWORD thread = GetCurrentThreadId();
  if (GetWindowThreadProcessId(window, nullptr) != thread || !IsWindowVisible(window)) return TRUE;
  // Without an entry the window could not be restored, so it is left as it is.
  auto* entry =
      static_cast<DisabledWindowEntry*>(AllocateFromMainHeap(sizeof(DisabledWindowEntry)));
  if (!entry) return TRUE;
  entry->thread = thread;
  entry->window = window;
  entry->wasTopmost = IsTopmost(window);
  if (window != GetForegroundWindow() && IsWindowEnabled(window)) {
    entry->disabledHere = 1;
    EnableWindow(window, FALSE);
  }
  AddEntry(entry);
  return TRUE;
}

}  // namespace

HWND DialogOwnerWindow() {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

void DisableThreadWindows() {
  EnumWindows(DisableWhenOwnAndVisible, 0);
  const DWORD thread = GetCurrentThreadId();
  for (DisabledWindowEntry* entry = NextEntryOfThread(nullptr, thread); entry;
       entry = NextEntryOfThread(entry, thread)) {
    if (entry->wasTopmost) PlaceInBand(entry->window, HWND_NOTOPMOST);
  }
}

void RestoreThreadWindows() {
  DisabledWindowEntry* entry = DetachEntriesOfThread(GetCurrentThreadId());
  while (entry) {
    DisabledWindowEntry* next = entry->next;
    if (entry->disabledHere) EnableWindow(entry->window, TRUE);
    if (entry->wasTopmost) PlaceInBand(entry->window, HWND_TOPMOST);
    ReleaseToMainHeap(entry);
    entry = next;
  }
}
