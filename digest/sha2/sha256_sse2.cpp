// SHA-224/256 for every x86-64 processor: the steps in general-purpose registers and the message
// schedule in SSE2 registers, four words at a time, sixteen steps ahead of the steps that take
// them, so that the two run side by side. SSE2 belongs to x86-64 itself, so no feature is asked.
#include "digest/sha2/sha2_backend.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS
#include "digest/shared/add_into_state.h"
#include "digest/sha2/sha256_steps.h"
#include "digest/shared/sse2_schedule_words.h"

namespace {

inline __m128i RotateRight(__m128i x, int n) {
  return _mm_or_si128(_mm_srli_epi32(x, n), _mm_slli_epi32(x, 32 - n));
}

// sigma0 of FIPS 180-4, section 4.1.2, on four words.
inline __m128i SmallSigma0(__m128i x) {
  return _mm_xor_si128(_mm_xor_si128(RotateRight(x, 7), RotateRight(x, 18)), _mm_srli_epi32(x, 3));
}

// sigma1 of the words in 32-bit lanes 0 and 2, where each sits doubled in its 64-bit lane: a
// 64-bit shift then rotates it. The results land in lanes 0 and 2.
inline __m128i SmallSigma1OfDoubled(__m128i doubled) {
  return _mm_xor_si128(_mm_xor_si128(_mm_srli_epi64(doubled, 17), _mm_srli_epi64(doubled, 19)),
                       _mm_srli_epi32(doubled, 10));
}

// Words 1 to 4 of low followed by high: SSE2's stand-in for SSSE3's PALIGNR by four bytes.
inline __m128i WordsFromSecond(__m128i high, __m128i low) {
  return _mm_or_si128(_mm_srli_si128(low, 4), _mm_slli_si128(high, 12));
}

// Schedule words t to t + 3 from w0 = W[t-16..t-13] to w3 = W[t-4..t-1]. W[t+2] and W[t+3]
// need sigma1 of W[t] and W[t+1], so the two pairs come out one after the other.
inline __m128i NextScheduleWords(__m128i w0, __m128i w1, __m128i w2, __m128i w3) {
  const __m128i w15 = WordsFromSecond(w1, w0);  // W[t-15..t-12]
  const __m128i w7 = WordsFromSecond(w3, w2);   // W[t-7..t-4]
  __m128i words = _mm_add_epi32(_mm_add_epi32(w0, w7), SmallSigma0(w15));
  const __m128i low = SmallSigma1OfDoubled(_mm_shuffle_epi32(w3, 0xFA));  // W[t-2], W[t-1]
  words = _mm_add_epi32(words, _mm_move_epi64(_mm_shuffle_epi32(low, 0x08)));
  const __m128i high = SmallSigma1OfDoubled(_mm_shuffle_epi32(words, 0x50));  // W[t], W[t+1]
  return _mm_add_epi32(words,
                       _mm_unpackhi_epi64(_mm_setzero_si128(), _mm_shuffle_epi32(high, 0x80)));
}

// W + K for group g.
inline void StoreScheduleGroup(uint32_t (&group)[4], __m128i words, int g) {
  StoreWordsPlusConstants(
      group, words,
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(SHA256_ROUND_CONSTANTS + 4 * g)));
}

#define BLOCK_WK(q, i) schedule[q][i]

}  // namespace

void Sha256BlocksSse2(uint32_t state[8], const uint8_t* blocks, size_t count) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (; count > 0; --count, blocks += 64) {
    alignas(16) uint32_t schedule[16][4];
    __m128i w[4];
    SSE2_LOAD_MESSAGE(w, schedule, blocks);
    uint32_t x, y;
    SHA256_START_BLOCK();
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 0);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 2);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 4);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 6);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 8);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 10);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 12);
    SHA256_EIGHT_STEPS_SCHEDULING(BLOCK_WK, w, schedule, 14);
    AddIntoState(state, a, b, c, d, e, f, g, h);
  }
}

#undef BLOCK_WK

#endif
