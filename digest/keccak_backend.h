#pragma once
// SHA-3 absorb functions: for each whole block of `rate` bytes (72, 104, 136 or 144), XOR its
// little-endian 64-bit words into the first rate / 8 lanes and apply Keccak-f[1600]. Lane i is
// at x = i mod 5, y = i div 5. The blocks are never written.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"

constexpr int KECCAK_LANES = 25;

using KeccakAbsorbFunction = void (*)(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks,
                                      size_t count, uint32_t rate);

void KeccakAbsorbGeneric(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                         uint32_t rate);

inline constexpr DigestBackend<KeccakAbsorbFunction> KECCAK_BACKENDS[] = {
    {"generic", KeccakAbsorbGeneric, nullptr},
};

// What the plugin calls: the generic one until RegisterSha3Plugin chooses from KECCAK_BACKENDS.
extern KeccakAbsorbFunction keccakAbsorb;
