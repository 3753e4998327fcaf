#pragma once
// SHA-3 absorb functions: for each whole block of `rate` bytes (72, 104, 136 or 144), XOR its
// little-endian 64-bit words into the first rate / 8 lanes and apply Keccak-f[1600]. Lane i is
// at x = i mod 5, y = i div 5. The blocks are never written.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"
#include "digest/shared/processor_features.h"

constexpr int KECCAK_LANES = 25;

using KeccakAbsorbFunction = void (*)(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks,
                                      size_t count, uint32_t rate);

void KeccakAbsorbGeneric(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                         uint32_t rate);

#if DIGEST_X86_64_BACKENDS
void KeccakAbsorbAvx512(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                        uint32_t rate);
bool ProcessorRunsKeccakAvx512(const ProcessorFeatures& cpu);
void KeccakAbsorbBmi2(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                      uint32_t rate);
bool ProcessorRunsKeccakBmi2(const ProcessorFeatures& cpu);
// Every x86-64 processor runs it.
void KeccakAbsorbX86_64(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                        uint32_t rate);
#endif

inline constexpr DigestBackend<KeccakAbsorbFunction> KECCAK_BACKENDS[] = {
#if DIGEST_X86_64_BACKENDS
    {"avx512", KeccakAbsorbAvx512, ProcessorRunsKeccakAvx512},
    {"bmi2", KeccakAbsorbBmi2, ProcessorRunsKeccakBmi2},
    {"x86_64", KeccakAbsorbX86_64, nullptr},
#endif
    {"generic", KeccakAbsorbGeneric, nullptr},
};

// What the plugin calls: the generic one until RegisterSha3Plugin chooses from KECCAK_BACKENDS.
extern KeccakAbsorbFunction keccakAbsorb;

// One pass of a backend over whole blocks of `bytes` at SHA3-256's rate, for the choice by speed.
inline void RunKeccakPass(KeccakAbsorbFunction absorb, uint8_t* bytes, size_t length) {
  constexpr uint32_t RATE = 136;
  uint64_t lanes[KECCAK_LANES] = {};
  absorb(lanes, bytes, length / RATE, RATE);
}

inline constexpr auto KECCAK_BACKEND_TABLE =
    BackendTable(KECCAK_BACKENDS, keccakAbsorb, RunKeccakPass);
