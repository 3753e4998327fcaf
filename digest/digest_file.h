#pragma once
// The engine's one platform seam: a file opened for reading with read sharing only, or the
// process's standard input.
#include <cstdint>

#include "runtime/text.h"

class DigestFile {
 public:
  DigestFile() = default;
  DigestFile(const DigestFile&) = delete;
  DigestFile& operator=(const DigestFile&) = delete;
  ~DigestFile();

  // False for a missing file, a directory, or one another handle holds for writing.
  bool Open(const Text& path);
  // The process's standard input, through a handle of our own so that closing it leaves the
  // process's open.
  bool OpenStandardInput();
  void Seek(int64_t offset);
  // Bytes read (fewer than `size` only at the end of the data, even from a pipe), or -1 when
  // the system reports an error.
  int64_t Read(uint8_t* buffer, uint32_t size);

 private:
  intptr_t handle = -1;  // ours: closed by the destructor
};
