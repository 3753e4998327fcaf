#include "digest/file/digest_file.h"

int64_t DigestFile::Read(uint8_t* buffer, uint32_t size) {
  uint32_t filled = 0;
  while (filled < size) {
    const int64_t got = ReadSome(buffer + filled, size - filled);
    if (got < 0) return -1;
    if (got == 0) break;
    filled += static_cast<uint32_t>(got);
  }
  return filled;
}
