#pragma once
// MD5 block functions: whole 64-byte blocks, words read little-endian, the blocks never written.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"
#include "digest/shared/processor_features.h"

using Md5BlocksFunction = void (*)(uint32_t state[4], const uint8_t* blocks, size_t count);

void Md5BlocksGeneric(uint32_t state[4], const uint8_t* blocks, size_t count);

#if DIGEST_X86_64_BACKENDS
void Md5BlocksAvx512(uint32_t state[4], const uint8_t* blocks, size_t count);
bool ProcessorRunsMd5Avx512(const ProcessorFeatures& cpu);
// Every x86-64 processor runs it.
void Md5BlocksX86_64(uint32_t state[4], const uint8_t* blocks, size_t count);
#endif

inline constexpr DigestBackend<Md5BlocksFunction> MD5_BACKENDS[] = {
#if DIGEST_X86_64_BACKENDS
    {"avx512", Md5BlocksAvx512, ProcessorRunsMd5Avx512},
    {"x86_64", Md5BlocksX86_64, nullptr},
#endif
    {"generic", Md5BlocksGeneric, nullptr},
};

// What the plugin calls: the generic one until RegisterMd5Plugin chooses from MD5_BACKENDS.
extern Md5BlocksFunction md5Blocks;

// One pass of a backend over whole blocks of `bytes`, for the choice by speed.
inline void RunMd5Pass(Md5BlocksFunction blocks, uint8_t* bytes, size_t length) {
  uint32_t state[4] = {};
  blocks(state, bytes, length / 64);
}

inline constexpr auto MD5_BACKEND_TABLE = BackendTable(MD5_BACKENDS, md5Blocks, RunMd5Pass);

// T[1] to T[64] of RFC 1321, section 3.4, for the backends that add them ahead of the steps (the
// generic one writes each into its step, as the RFC does).
inline constexpr uint32_t MD5_STEP_CONSTANTS[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};
