#pragma once
// XXH3 backends: the authors' xxhash.h compiled once for each vector width (XXH_VECTOR), each
// translation unit with the instructions of its width, so that one program carries them all and
// the engine's choice by speed picks among them. XXH3-64 and XXH128 share their accumulation, and
// so their backend.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"
#include "digest/shared/processor_features.h"

// Room for the header's XXH3_state_t, whose accumulators the vector code reads with aligned loads:
// the state is placed at the first 64-byte boundary of `bytes`.
struct Xxh3Room {
  unsigned char bytes[640 + 63];
};

struct Xxh3Functions {
  void (*reset)(Xxh3Room* room);
  void (*update)(Xxh3Room* room, const uint8_t* data, size_t length);
  // The digest in the canonical (big-endian) form, 8 bytes for 64 bits, 16 for 128.
  void (*digest)(const Xxh3Room* room, int32_t bits, uint8_t* out);
};
using Xxh3Backend = const Xxh3Functions*;

extern const Xxh3Functions XXH3_SCALAR_FUNCTIONS;

#if DIGEST_X86_64_BACKENDS
extern const Xxh3Functions XXH3_AVX512_FUNCTIONS;
bool ProcessorRunsXxh3Avx512(const ProcessorFeatures& cpu);
extern const Xxh3Functions XXH3_AVX2_FUNCTIONS;
bool ProcessorRunsXxh3Avx2(const ProcessorFeatures& cpu);
extern const Xxh3Functions XXH3_SSE2_FUNCTIONS;  // SSE2 is part of x86-64
#endif

inline constexpr DigestBackend<Xxh3Backend> XXH3_BACKENDS[] = {
#if DIGEST_X86_64_BACKENDS
    {"avx512", &XXH3_AVX512_FUNCTIONS, ProcessorRunsXxh3Avx512},
    {"avx2", &XXH3_AVX2_FUNCTIONS, ProcessorRunsXxh3Avx2},
    {"sse2", &XXH3_SSE2_FUNCTIONS, nullptr},
#endif
    {"generic", &XXH3_SCALAR_FUNCTIONS, nullptr},
};

// What the plugin calls: the scalar one until RegisterXxh3Plugin chooses from XXH3_BACKENDS.
extern Xxh3Backend xxh3Backend;

// One pass of a backend over `bytes`, for the choice by speed.
void RunXxh3Pass(Xxh3Backend backend, uint8_t* bytes, size_t length);

inline constexpr auto XXH3_BACKEND_TABLE = BackendTable(XXH3_BACKENDS, xxh3Backend, RunXxh3Pass);
