#pragma once
// Loads and stores of fixed byte order at any address, for the block functions and the padding
// code; compilers turn each into a single (byte-swapping) move.
#include <cstdint>

inline uint32_t LoadBigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  return uint64_t{LoadBigEndian32(p)} << 32 | LoadBigEndian32(p + 4);
}

inline uint32_t LoadLittleEndian32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint64_t LoadLittleEndian64(const uint8_t* p) {
  return uint64_t{LoadLittleEndian32(p)} | uint64_t{LoadLittleEndian32(p + 4)} << 32;
}

inline void StoreBigEndian32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value >> 24);
  p[1] = static_cast<uint8_t>(value >> 16);
  p[2] = static_cast<uint8_t>(value >> 8);
  p[3] = static_cast<uint8_t>(value);
}

inline void StoreBigEndian64(uint8_t* p, uint64_t value) {
  StoreBigEndian32(p, static_cast<uint32_t>(value >> 32));
  StoreBigEndian32(p + 4, static_cast<uint32_t>(value));
}

inline void StoreLittleEndian32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

inline void StoreLittleEndian64(uint8_t* p, uint64_t value) {
  StoreLittleEndian32(p, static_cast<uint32_t>(value));
  StoreLittleEndian32(p + 4, static_cast<uint32_t>(value >> 32));
}
