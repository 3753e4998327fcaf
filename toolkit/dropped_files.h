#pragma once
// The data of one EVENT_WINDOW_DROP: a private copy of the dropped global memory block, owned by
// the event queue from the drop until the wait after the drop event, and the file names in it.
#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

struct DropRecord {
  int32_t format;  // the clipboard format dropped
  void* data;      // ours, from the main heap: the block's bytes
  uint64_t size;
};

// A record holding a copy of `size` bytes; null when the heap has no room.
DropRecord* CopyDropRecord(int32_t format, const void* bytes, size_t size);

// The event's release routine: frees the data copy, then the record.
void ReleaseDropRecord(void* record);

// The dropped file names of the current event, joined by line feeds with none at the end; the
// empty text for any event but a file drop, and on every failure. Read it before the next wait.
Text DroppedFilesText();
