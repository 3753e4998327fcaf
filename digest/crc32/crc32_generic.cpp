#include "digest/crc32/crc32_backend.h"

namespace {

inline uint32_t Step(uint32_t reg, uint8_t byte) {
  return CRC32_TABLE[(reg ^ byte) & 0xFF] ^ (reg >> 8);
}

}  // namespace

uint32_t Crc32RegisterGeneric(uint32_t reg, const uint8_t* data, size_t length) {
  // Eight bytes a step while eight remain, then the rest one at a time.
  while (length >= 8) {
    reg = Step(reg, data[0]);
    reg = Step(reg, data[1]);
    reg = Step(reg, data[2]);
    reg = Step(reg, data[3]);
    reg = Step(reg, data[4]);
    reg = Step(reg, data[5]);
    reg = Step(reg, data[6]);
    reg = Step(reg, data[7]);
    data += 8;
    length -= 8;
  }
  while (length--) reg = Step(reg, *data++);
  return reg;
}
