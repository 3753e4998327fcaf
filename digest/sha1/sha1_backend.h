#pragma once
// SHA-1 block functions: whole 64-byte blocks, words read big-endian. The generic one keeps its
// message schedule in the block itself, so a block function may overwrite the blocks it is
// given; the plugin hands it a copy when its caller's bytes must survive. The accelerated ones
// only read them.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"
#include "digest/shared/processor_features.h"

using Sha1BlocksFunction = void (*)(uint32_t state[5], uint8_t* blocks, size_t count);

void Sha1BlocksGeneric(uint32_t state[5], uint8_t* blocks, size_t count);

#if DIGEST_X86_64_BACKENDS
void Sha1BlocksShaExtensions(uint32_t state[5], uint8_t* blocks, size_t count);
bool ProcessorRunsSha1ShaExtensions(const ProcessorFeatures& cpu);
void Sha1BlocksAvx2(uint32_t state[5], uint8_t* blocks, size_t count);
bool ProcessorRunsSha1Avx2(const ProcessorFeatures& cpu);
void Sha1BlocksSse2(uint32_t state[5], uint8_t* blocks, size_t count);
#endif

inline constexpr DigestBackend<Sha1BlocksFunction> SHA1_BACKENDS[] = {
#if DIGEST_X86_64_BACKENDS
    {"shani", Sha1BlocksShaExtensions, ProcessorRunsSha1ShaExtensions},
    {"avx2", Sha1BlocksAvx2, ProcessorRunsSha1Avx2},
    {"sse2", Sha1BlocksSse2, nullptr},  // SSE2 is part of x86-64
#endif
    {"generic", Sha1BlocksGeneric, nullptr},
};

// What the plugin calls: the generic one until RegisterSha1Plugin chooses from SHA1_BACKENDS.
extern Sha1BlocksFunction sha1Blocks;

// One pass of a backend over whole blocks of `bytes`, for the choice by speed.
inline void RunSha1Pass(Sha1BlocksFunction blocks, uint8_t* bytes, size_t length) {
  uint32_t state[5] = {};
  blocks(state, bytes, length / 64);
}

inline constexpr auto SHA1_BACKEND_TABLE = BackendTable(SHA1_BACKENDS, sha1Blocks, RunSha1Pass);
