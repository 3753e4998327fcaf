#pragma once
// Block functions of CRC32 work on the raw shift register (not complemented), so that the
// complement happens once per call in Crc32Update whatever backend runs.
#include <array>
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/shared/processor_features.h"

using Crc32RegisterFunction = uint32_t (*)(uint32_t reg, const uint8_t* data, size_t length);

constexpr uint32_t CRC32_POLYNOMIAL = 0xEDB88320;

constexpr std::array<uint32_t, 256> MakeCrc32Table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value >> 1) ^ ((value & 1) ? CRC32_POLYNOMIAL : 0);
    table[i] = value;
  }
  return table;
}

// The byte-wise table: entry i is the CRC of the single byte i, uncomplemented.
inline constexpr std::array<uint32_t, 256> CRC32_TABLE = MakeCrc32Table();
static_assert(CRC32_TABLE[1] == 0x77073096 && CRC32_TABLE[255] == 0x2D02EF8D);

uint32_t Crc32RegisterGeneric(uint32_t reg, const uint8_t* data, size_t length);

#if DIGEST_X86_64_BACKENDS
uint32_t Crc32RegisterVpclmulqdq(uint32_t reg, const uint8_t* data, size_t length);
bool ProcessorRunsCrc32Vpclmulqdq(const ProcessorFeatures& cpu);
uint32_t Crc32RegisterPclmulqdq(uint32_t reg, const uint8_t* data, size_t length);
bool ProcessorRunsCrc32Pclmulqdq(const ProcessorFeatures& cpu);
// Tables only, tuned for the out-of-order cores of x86-64: every such processor runs it.
uint32_t Crc32RegisterSlicing(uint32_t reg, const uint8_t* data, size_t length);
#endif

inline constexpr DigestBackend<Crc32RegisterFunction> CRC32_BACKENDS[] = {
#if DIGEST_X86_64_BACKENDS
    {"vpclmulqdq", Crc32RegisterVpclmulqdq, ProcessorRunsCrc32Vpclmulqdq},
    {"pclmulqdq", Crc32RegisterPclmulqdq, ProcessorRunsCrc32Pclmulqdq},
    {"slicing", Crc32RegisterSlicing, nullptr},
#endif
    {"generic", Crc32RegisterGeneric, nullptr},
};

// What Crc32Update calls: the generic one until RegisterCrc32Plugin chooses from CRC32_BACKENDS.
extern Crc32RegisterFunction crc32Register;

// One pass of a backend over `bytes`, for the choice by speed; the register is kept so that the
// call stays.
inline void RunCrc32Pass(Crc32RegisterFunction update, uint8_t* bytes, size_t length) {
  Settled(update(0, bytes, length));
}

inline constexpr auto CRC32_BACKEND_TABLE =
    BackendTable(CRC32_BACKENDS, crc32Register, RunCrc32Pass);
