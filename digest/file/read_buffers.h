#pragma once
// Read buffers of DIGEST_READ_SIZE bytes from the private heap, each made on first use and kept
// for the object's life, so that a run of many files pays for them once. They are not
// zero-filled: every byte is read into before it is hashed.
#include <cstddef>
#include <cstdint>
#include <vector>

class ReadBuffers {
 public:
  explicit ReadBuffers(size_t count) : buffers(count, nullptr) {}
  ~ReadBuffers();
  ReadBuffers(const ReadBuffers&) = delete;
  ReadBuffers& operator=(const ReadBuffers&) = delete;

  size_t Count() const { return buffers.size(); }
  // Null when the heap cannot supply it.
  uint8_t* At(size_t index);

 private:
  std::vector<uint8_t*> buffers;
};
