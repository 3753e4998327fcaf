#pragma once
// The program's private heap: every toolkit record, table, event node, digest context and read
// buffer comes from it. It is made on first use (or by StartMainHeap) and destroyed last.
#include <cstddef>

void StartMainHeap();
void StopMainHeap();

// Zero-filled block, or null when the heap cannot supply it.
void* AllocateFromMainHeap(size_t size);
// A block whose bytes are whatever was there, for buffers that are written before they are read:
// zero-filling a read buffer would cost more than the reads into a small file.
void* AllocateUnfilledFromMainHeap(size_t size);
void ReleaseToMainHeap(void* block);

// Bytes currently handed out, for leak checks.
size_t MainHeapBytesInUse();
