#include "toolkit/window_shortcuts.h"

#include "runtime/main_heap.h"
#include "toolkit/numbered_window.h"

bool AddWindowShortcuts(ObjectNumber number, const ACCEL* shortcuts, int32_t count) {
  auto* record = static_cast<WindowRecord*>(LookupObject(WindowTable(), number));
  if (!record || !record->window || count <= 0) return false;
  const int32_t kept = record->accelerators ? record->acceleratorCount : 0;
  const int32_t total = kept + count;
  auto* entries = static_cast<ACCEL*>(AllocateFromMainHeap(total * sizeof(ACCEL)));
  if (!entries) return false;
  for (int32_t i = 0; i < kept; ++i) entries[i] = record->accelerators[i];
  for (int32_t i = 0; i < count; ++i) entries[kept + i] = shortcuts[i];
  HACCEL table = CreateAcceleratorTableW(entries, total);
  if (!table) {
    ReleaseToMainHeap(entries);
    return false;
  }
  ReleaseToMainHeap(record->accelerators);
  if (record->acceleratorTable) DestroyAcceleratorTable(record->acceleratorTable);
  record->accelerators = entries;
  record->acceleratorCount = total;
  record->acceleratorTable = table;
  return true;
}
