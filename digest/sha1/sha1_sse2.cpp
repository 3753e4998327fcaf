// SHA-1 for every x86-64 processor: the steps in general-purpose registers and the message
// schedule in SSE2 registers, four words at a time, sixteen steps ahead of the steps that take
// them, so that the two run side by side. SSE2 belongs to x86-64 itself, so no feature is asked.
// The blocks are only read.
#include "digest/sha1/sha1_backend.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS
#include "digest/shared/add_into_state.h"
#include "digest/sha1/sha1_steps.h"
#include "digest/shared/sse2_schedule_words.h"

namespace {

inline __m128i RotateLeft(__m128i x, int n) {
  return _mm_or_si128(_mm_slli_epi32(x, n), _mm_srli_epi32(x, 32 - n));
}

// The upper two words of low followed by the lower two of high.
inline __m128i MiddleWords(__m128i high, __m128i low) {
  return _mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(low), _mm_castsi128_pd(high), 1));
}

// Group p (words 4p to 4p + 3) for p from 4 to 7, by FIPS 180-4, section 6.1.2: W[t] =
// ROTL1(W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]). The last word of a group needs the first one, so
// it is computed without it and then corrected.
inline __m128i EarlyScheduleWords(__m128i w16, __m128i w12, __m128i w8, __m128i w4) {
  const __m128i w14 = MiddleWords(w12, w16);  // W[t-14..t-11]
  const __m128i w3 = _mm_srli_si128(w4, 4);   // W[t-3..t-1], 0
  const __m128i words =
      RotateLeft(_mm_xor_si128(_mm_xor_si128(w16, w14), _mm_xor_si128(w8, w3)), 1);
  return _mm_xor_si128(words, RotateLeft(_mm_slli_si128(words, 12), 1));
}

// Group p for p from 8 on: unrolling the recurrence twice gives W[t] = ROTL2(W[t-6] ^ W[t-16]
// ^ W[t-28] ^ W[t-32]), whose words lie in earlier groups only.
inline __m128i LateScheduleWords(__m128i w32, __m128i w28, __m128i w16, __m128i w8, __m128i w4) {
  const __m128i w6 = MiddleWords(w4, w8);  // W[t-6..t-3]
  return RotateLeft(_mm_xor_si128(_mm_xor_si128(w32, w28), _mm_xor_si128(w16, w6)), 2);
}

// W + K for group p.
inline void StoreScheduleGroup(uint32_t (&group)[4], __m128i words, int p) {
  StoreWordsPlusConstants(group, words,
                          _mm_set1_epi32(static_cast<int>(SHA1_ROUND_CONSTANTS[p / 5])));
}

#define BLOCK_WK(p, i) schedule[p][i]
#define SCHEDULE_AHEAD(p) SHA1_SCHEDULE(w, schedule, p)

}  // namespace

void Sha1BlocksSse2(uint32_t state[5], uint8_t* blocks, size_t count) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  for (; count > 0; --count, blocks += 64) {
    alignas(16) uint32_t schedule[20][4];
    __m128i w[8];
    SSE2_LOAD_MESSAGE(w, schedule, blocks);
    SHA1_EIGHTY_STEPS(BLOCK_WK, SCHEDULE_AHEAD);
    AddIntoState(state, a, b, c, d, e);
  }
}

#undef SCHEDULE_AHEAD
#undef BLOCK_WK

#endif
