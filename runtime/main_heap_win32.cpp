#include <windows.h>

#include <atomic>

#include "runtime/main_heap.h"

namespace {

HANDLE mainHeap;                 // ours: destroyed by StopMainHeap
std::atomic<size_t> bytesInUse;  // other threads post events in blocks of this heap

HANDLE Heap() {
  if (!mainHeap) mainHeap = HeapCreate(0, 4096, 0);
  return mainHeap;
}

}  // namespace

void StartMainHeap() {
  Heap();
}

void StopMainHeap() {
  if (mainHeap) HeapDestroy(mainHeap);
  mainHeap = nullptr;
  bytesInUse = 0;
}

namespace {

void* AllocateWithFlags(size_t size, DWORD flags) {
  HANDLE heap = Heap();
  if (!heap) return nullptr;
  void* block = HeapAlloc(heap, flags, size);
  if (block) bytesInUse += HeapSize(heap, 0, block);
  return block;
}

}  // namespace

void* AllocateFromMainHeap(size_t size) {
  return AllocateWithFlags(size, HEAP_ZERO_MEMORY);
}

void* AllocateUnfilledFromMainHeap(size_t size) {
  return AllocateWithFlags(size, 0);
}

void ReleaseToMainHeap(void* block) {
  if (!block || !mainHeap) return;
  bytesInUse -= HeapSize(mainHeap, 0, block);
  HeapFree(mainHeap, 0, block);
}

size_t MainHeapBytesInUse() {
  return bytesInUse;
}
