#include <malloc.h>

#include <atomic>
#include <cstdlib>

#include "runtime/main_heap.h"

// Natively the C heap stands in for the private heap; only the accounting is ours.
namespace {
std::atomic<size_t> bytesInUse;
}

void StartMainHeap() {}
void StopMainHeap() {}

void* AllocateFromMainHeap(size_t size) {
  void* block = std::calloc(1, size);
  if (block) bytesInUse += malloc_usable_size(block);
  return block;
}

void* AllocateUnfilledFromMainHeap(size_t size) {
  void* block = std::malloc(size);
  if (block) bytesInUse += malloc_usable_size(block);
  return block;
}

void ReleaseToMainHeap(void* block) {
  if (!block) return;
  bytesInUse -= malloc_usable_size(block);
  std::free(block);
}

size_t MainHeapBytesInUse() {
  return bytesInUse;
}
