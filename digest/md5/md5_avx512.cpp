// MD5 on one 32-bit lane of the AVX-512 registers: VPTERNLOGD computes each of the four round
// functions in one instruction, so a step costs four dependent operations (function, add,
// rotate, add) where general-purpose code needs five for F and I. The message words with their
// step constants are added beforehand, sixteen at a time.
#include "digest/md5/md5_backend.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define MD5_AVX512_TARGET DIGEST_TARGET("avx512f,avx512vl")

namespace {

// The round functions of RFC 1321, section 3.4, as truth tables for VPTERNLOGD, whose first
// operand is also its destination. The steps pass d first, since it is needed no more once the
// function is computed; the table is therefore that of FUNCTION(b, c, d) on the operand
// patterns d = 0xF0, b = 0xCC, c = 0xAA.
constexpr uint8_t F(uint8_t x, uint8_t y, uint8_t z) {
  return (x & y) | (~x & z);
}
constexpr uint8_t G(uint8_t x, uint8_t y, uint8_t z) {
  return (x & z) | (y & ~z);
}
constexpr uint8_t H(uint8_t x, uint8_t y, uint8_t z) {
  return x ^ y ^ z;
}
constexpr uint8_t I(uint8_t x, uint8_t y, uint8_t z) {
  return y ^ (x | ~z);
}

template <uint8_t (*FUNCTION)(uint8_t, uint8_t, uint8_t)>
constexpr int TRUTH_TABLE = FUNCTION(0xCC, 0xAA, 0xF0);

// The message word each step of a round takes: word (first + stride * i) mod 16 for step i.
MD5_AVX512_TARGET inline __m512i RoundOrder(int first, int stride) {
  alignas(64) int32_t order[16];
  for (int i = 0; i < 16; ++i) order[i] = (first + stride * i) % 16;
  return _mm512_load_si512(order);
}

// The value with its addend, settled: otherwise the compiler adds the round function first and
// the addend after, two additions on the chain from b to the next b instead of one.
MD5_AVX512_TARGET inline __m128i WithAddend(__m128i value, uint32_t addend) {
  return Settled(_mm_add_epi32(value, _mm_set1_epi32(static_cast<int>(addend))));
}

// a = b + ((a + FUNCTION(b, c, d) + x + t) <<< s), where a arrives with x + t already added
// (a is known long before b); the addends come from `thisBlock`. d is the next step's a: it takes
// its addend first, so that the function may then overwrite the old d instead of a copy of it.
#define MD5_STEP(FUNCTION, a, b, c, d, i, s)                                         \
  do {                                                                               \
    const __m128i nextA = WithAddend(d, thisBlock[(i) + 1]);                         \
    const __m128i function = _mm_ternarylogic_epi32(d, b, c, TRUTH_TABLE<FUNCTION>); \
    d = nextA;                                                                       \
    a = _mm_add_epi32(_mm_rol_epi32(_mm_add_epi32(a, function), s), b);              \
  } while (0)

#define MD5_FOUR_STEPS(FUNCTION, i, s0, s1, s2, s3) \
  MD5_STEP(FUNCTION, a, b, c, d, i, s0);            \
  MD5_STEP(FUNCTION, d, a, b, c, i + 1, s1);        \
  MD5_STEP(FUNCTION, c, d, a, b, i + 2, s2);        \
  MD5_STEP(FUNCTION, b, c, d, a, i + 3, s3)

// Message word plus step constant for each step of the block, in step order, and a zero after
// them for the last step to add to d.
MD5_AVX512_TARGET inline void ComputeAddends(const __m512i (&order)[4], const uint8_t* block,
                                             uint32_t (&addends)[80]) {
  // Unaligned load: the framework's buffer is aligned but a caller's data need not be.
  const __m512i words = _mm512_loadu_si512(block);
  for (int round = 0; round < 4; ++round) {
    const __m512i constants = _mm512_loadu_si512(MD5_STEP_CONSTANTS + 16 * round);
    const __m512i taken = _mm512_permutexvar_epi32(order[round], words);
    _mm512_store_si512(addends + 16 * round, _mm512_add_epi32(taken, constants));
  }
  _mm512_store_si512(addends + 64, _mm512_setzero_si512());
}

}  // namespace

bool ProcessorRunsMd5Avx512(const ProcessorFeatures& cpu) {
  return cpu.avx512f && cpu.avx512vl;
}

MD5_AVX512_TARGET void Md5BlocksAvx512(uint32_t state[4], const uint8_t* blocks, size_t count) {
  const __m512i order[4] = {RoundOrder(0, 1), RoundOrder(1, 5), RoundOrder(5, 3), RoundOrder(0, 7)};
  __m128i a = _mm_cvtsi32_si128(static_cast<int>(state[0]));
  __m128i b = _mm_cvtsi32_si128(static_cast<int>(state[1]));
  __m128i c = _mm_cvtsi32_si128(static_cast<int>(state[2]));
  __m128i d = _mm_cvtsi32_si128(static_cast<int>(state[3]));
  // The next block's addends are made while this block's steps run, so that its first steps
  // need not wait for them.
  alignas(64) uint32_t addends[2][80];
  if (count > 0) ComputeAddends(order, blocks, addends[0]);
  for (size_t block = 0; block < count; ++block, blocks += 64) {
    const uint32_t(&thisBlock)[80] = addends[block % 2];
    if (block + 1 < count) ComputeAddends(order, blocks + 64, addends[(block + 1) % 2]);
    const __m128i aBefore = a, bBefore = b, cBefore = c, dBefore = d;
    a = WithAddend(a, thisBlock[0]);

    MD5_FOUR_STEPS(F, 0, 7, 12, 17, 22);
    MD5_FOUR_STEPS(F, 4, 7, 12, 17, 22);
    MD5_FOUR_STEPS(F, 8, 7, 12, 17, 22);
    MD5_FOUR_STEPS(F, 12, 7, 12, 17, 22);
    MD5_FOUR_STEPS(G, 16, 5, 9, 14, 20);
    MD5_FOUR_STEPS(G, 20, 5, 9, 14, 20);
    MD5_FOUR_STEPS(G, 24, 5, 9, 14, 20);
    MD5_FOUR_STEPS(G, 28, 5, 9, 14, 20);
    MD5_FOUR_STEPS(H, 32, 4, 11, 16, 23);
    MD5_FOUR_STEPS(H, 36, 4, 11, 16, 23);
    MD5_FOUR_STEPS(H, 40, 4, 11, 16, 23);
    MD5_FOUR_STEPS(H, 44, 4, 11, 16, 23);
    MD5_FOUR_STEPS(I, 48, 6, 10, 15, 21);
    MD5_FOUR_STEPS(I, 52, 6, 10, 15, 21);
    MD5_FOUR_STEPS(I, 56, 6, 10, 15, 21);
    MD5_FOUR_STEPS(I, 60, 6, 10, 15, 21);

    a = _mm_add_epi32(a, aBefore);
    b = _mm_add_epi32(b, bBefore);
    c = _mm_add_epi32(c, cBefore);
    d = _mm_add_epi32(d, dBefore);
  }
  state[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(a));
  state[1] = static_cast<uint32_t>(_mm_cvtsi128_si32(b));
  state[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(c));
  state[3] = static_cast<uint32_t>(_mm_cvtsi128_si32(d));
}

#undef MD5_FOUR_STEPS
#undef MD5_STEP

#endif
