#pragma once
// BLAKE3 runs the authors' C code, whose own dispatch picks its SIMD path from the processor's
// features. Its backends are that dispatch held to a class of processor: the feature set the
// dispatch reads (its g_cpu_features, open to callers when the code is built with BLAKE3_TESTING,
// which otherwise only adds asserts that NDEBUG removes) set to the class's. The values are the
// bits of its cpu_feature enumeration, which lives in blake3_dispatch.c, not in a header.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"
#include "digest/shared/processor_features.h"

using Blake3Features = int;

inline constexpr Blake3Features BLAKE3_SSE2 = 1;
inline constexpr Blake3Features BLAKE3_SSE41 = BLAKE3_SSE2 | 2 | 4;     // with SSSE3
inline constexpr Blake3Features BLAKE3_AVX2 = BLAKE3_SSE41 | 8 | 16;    // with AVX
inline constexpr Blake3Features BLAKE3_AVX512 = BLAKE3_AVX2 | 32 | 64;  // F and VL
inline constexpr Blake3Features BLAKE3_PORTABLE = 0;

#if DIGEST_X86_64_BACKENDS
bool ProcessorRunsBlake3Avx512(const ProcessorFeatures& cpu);
bool ProcessorRunsBlake3Avx2(const ProcessorFeatures& cpu);
bool ProcessorRunsBlake3Sse41(const ProcessorFeatures& cpu);
#endif

inline constexpr DigestBackend<Blake3Features> BLAKE3_BACKENDS[] = {
#if DIGEST_X86_64_BACKENDS
    {"avx512", BLAKE3_AVX512, ProcessorRunsBlake3Avx512},
    {"avx2", BLAKE3_AVX2, ProcessorRunsBlake3Avx2},
    {"sse41", BLAKE3_SSE41, ProcessorRunsBlake3Sse41},
    {"sse2", BLAKE3_SSE2, nullptr},
#endif
    {"generic", BLAKE3_PORTABLE, nullptr},
};

// The dispatch's feature set: what the plugin's hashing runs on.
extern "C" Blake3Features g_cpu_features;

// One pass of the dispatch, held to `features`, over `bytes`, for the benchmarks' timing.
void RunBlake3Pass(Blake3Features features, uint8_t* bytes, size_t length);

inline constexpr auto BLAKE3_BACKEND_TABLE =
    BackendTable(BLAKE3_BACKENDS, g_cpu_features, RunBlake3Pass, BackendRule::WIDEST);
