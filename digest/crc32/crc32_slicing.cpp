// CRC32 by tables, for processors without carry-less multiplication: eight bytes a step through
// eight tables (slicing by eight), on four stretches of the data at once so that the steps of
// each overlap the table loads of the others. The stretches then join: the register is linear in
// its start, so each stretch but the first starts from zero and the register of the one before
// is carried across it by tables and added.
#include "digest/crc32/crc32_backend.h"

#if DIGEST_X86_64_BACKENDS

#include "digest/shared/byte_order.h"

namespace {

constexpr size_t STREAMS = 4;
constexpr size_t STRETCH_BYTES = 512;  // each stream's share of a group
constexpr size_t GROUP_BYTES = STREAMS * STRETCH_BYTES;

using Crc32Table = std::array<uint32_t, 256>;

constexpr uint32_t AfterZeroBytes(uint32_t reg, size_t count) {
  for (size_t i = 0; i < count; ++i) reg = CRC32_TABLE[reg & 0xFF] ^ (reg >> 8);
  return reg;
}

// Table k: the register after byte i and k zero bytes, so that each of eight bytes takes the
// table of its distance from the end of the eight and the eight results add up.
constexpr std::array<Crc32Table, 8> SLICES = [] {
  std::array<Crc32Table, 8> slices{};
  for (size_t k = 0; k < 8; ++k) {
    for (uint32_t i = 0; i < 256; ++i) slices[k][i] = AfterZeroBytes(CRC32_TABLE[i], k);
  }
  return slices;
}();
static_assert(SLICES[0] == CRC32_TABLE);
static_assert(SLICES[7][0x01] == 0xCCAA009E && SLICES[7][0x80] == 0x533B85DA);

// Table j: a stretch of zero bytes after a register holding i in its byte j, built from the 32
// registers of a single bit.
constexpr std::array<Crc32Table, 4> ACROSS_STRETCH = [] {
  uint32_t afterBit[32]{};
  for (int bit = 0; bit < 32; ++bit) {
    afterBit[bit] = AfterZeroBytes(uint32_t{1} << bit, STRETCH_BYTES);
  }
  std::array<Crc32Table, 4> tables{};
  for (int j = 0; j < 4; ++j) {
    for (uint32_t i = 0; i < 256; ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        if (i >> bit & 1) tables[j][i] ^= afterBit[8 * j + bit];
      }
    }
  }
  return tables;
}();

constexpr uint32_t AcrossStretch(uint32_t reg) {
  return ACROSS_STRETCH[0][reg & 0xFF] ^ ACROSS_STRETCH[1][reg >> 8 & 0xFF] ^
         ACROSS_STRETCH[2][reg >> 16 & 0xFF] ^ ACROSS_STRETCH[3][reg >> 24];
}
static_assert(AcrossStretch(0x12345678) == 0xE9875C0E && AcrossStretch(0x80000000) == 0x8E7EA170);

// Eight bytes: the first four mixed into the register, the other four indexing their tables
// straight from memory.
inline uint32_t EightBytes(uint32_t reg, const uint8_t* data) {
  const uint32_t low = reg ^ LoadLittleEndian32(data);
  return SLICES[7][low & 0xFF] ^ SLICES[6][low >> 8 & 0xFF] ^ SLICES[5][low >> 16 & 0xFF] ^
         SLICES[4][low >> 24] ^ SLICES[3][data[4]] ^ SLICES[2][data[5]] ^ SLICES[1][data[6]] ^
         SLICES[0][data[7]];
}

}  // namespace

uint32_t Crc32RegisterSlicing(uint32_t reg, const uint8_t* data, size_t length) {
  for (; length >= GROUP_BYTES; data += GROUP_BYTES, length -= GROUP_BYTES) {
    uint32_t regs[STREAMS] = {reg};
    for (size_t offset = 0; offset < STRETCH_BYTES; offset += 8) {
      for (size_t s = 0; s < STREAMS; ++s) {
        regs[s] = EightBytes(regs[s], data + s * STRETCH_BYTES + offset);
      }
    }
    reg = regs[0];
    for (size_t s = 1; s < STREAMS; ++s) reg = AcrossStretch(reg) ^ regs[s];
  }
  for (; length >= 8; data += 8, length -= 8) reg = EightBytes(reg, data);
  return Crc32RegisterGeneric(reg, data, length);
}

#endif
