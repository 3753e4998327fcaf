#include "digest/file/read_buffers.h"

#include "digest/compute_file_digest.h"
#include "runtime/main_heap.h"

ReadBuffers::~ReadBuffers() {
  for (uint8_t* buffer : buffers) ReleaseToMainHeap(buffer);
}

uint8_t* ReadBuffers::At(size_t index) {
  uint8_t*& buffer = buffers[index];
  if (!buffer) buffer = static_cast<uint8_t*>(AllocateUnfilledFromMainHeap(DIGEST_READ_SIZE));
  return buffer;
}
