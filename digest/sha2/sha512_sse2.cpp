// SHA-384/512 for every x86-64 processor: the message schedule in SSE2 registers, two words at a
// time, sixteen steps ahead of the steps that take them, with the steps in general-purpose
// registers. SSE2 has neither 64-bit rotations nor byte shuffles, so shifts stand in for both.
#include "digest/sha2/sha2_backend.h"
#include "digest/sha2/sha512_steps.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/shared/sse2_schedule_words.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

namespace {

inline __m128i RotateRight(__m128i x, int bits) {
  return _mm_or_si128(_mm_srli_epi64(x, bits), _mm_slli_epi64(x, 64 - bits));
}

// The functions of FIPS 180-4, section 4.1.3, on the schedule: two words at once.
inline __m128i SmallSigma0(__m128i x) {
  return _mm_xor_si128(_mm_xor_si128(RotateRight(x, 1), RotateRight(x, 8)), _mm_srli_epi64(x, 7));
}

inline __m128i SmallSigma1(__m128i x) {
  return _mm_xor_si128(_mm_xor_si128(RotateRight(x, 19), RotateRight(x, 61)), _mm_srli_epi64(x, 6));
}

// The high word of `low` and the low word of `high`.
inline __m128i StraddlingWords(__m128i low, __m128i high) {
  return _mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(low), _mm_castsi128_pd(high), 1));
}

// Window pair k holds (W[t-16+2k], W[t-15+2k]); words t and t + 1 replace pair 0. W[t+1] needs
// sigma1 of W[t-1], not of W[t], so both words come out of one pass.
inline __m128i NextScheduleWords(__m128i w0, __m128i w1, __m128i w4, __m128i w5, __m128i w7) {
  return _mm_add_epi64(_mm_add_epi64(w0, SmallSigma0(StraddlingWords(w0, w1))),
                       _mm_add_epi64(StraddlingWords(w4, w5), SmallSigma1(w7)));
}

#define WK(t, i) wk[(t) + (i)]

// W + K for steps s and s + 1 from window pair k, stored for the steps to load.
#define SHA512_STORE_WK(k, s)                                                                 \
  StorePinned(wk + (s), _mm_add_epi64(w[k], _mm_loadu_si128(reinterpret_cast<const __m128i*>( \
                                                SHA512_ROUND_CONSTANTS + (s)))))
#define SCHEDULE_PAIRS(t, i) SHA512_SCHEDULE_PAIRS(w, SHA512_STORE_WK, t, i)

}  // namespace

void Sha512BlocksSse2(uint64_t state[8], const uint8_t* blocks, size_t count) {
  for (size_t block = 0; block < count; ++block, blocks += 128) {
    alignas(16) uint64_t wk[80];
    __m128i w[8];
    for (int k = 0; k < 8; ++k) {
      w[k] = LoadBigEndianWords64(blocks + 16 * k);
      SHA512_STORE_WK(k, 2 * k);
    }
    uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
    uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
    uint64_t bxc = b ^ c;
    SHA512_EIGHTY_STEPS(SHA512_STEP_FEWEST_OPERATIONS, WK, SCHEDULE_PAIRS);
    AddIntoState(state, a, b, c, d, e, f, g, h);
  }
}

#undef SCHEDULE_PAIRS
#undef SHA512_STORE_WK
#undef WK

#endif
