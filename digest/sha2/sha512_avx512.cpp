// SHA-384/512 with the steps in general-purpose registers (BMI2's RORX rotates without
// disturbing its source) and the message schedule in AVX-512VL registers, two words at a time,
// sixteen steps ahead of the steps that take them, so that the two run side by side.
#include "digest/sha2/sha2_backend.h"
#include "digest/sha2/sha512_steps.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define SHA512_AVX512_TARGET DIGEST_TARGET("avx512f,avx512vl,bmi,bmi2")

namespace {

// The functions of FIPS 180-4, section 4.1.3, on the schedule: two words at once.
SHA512_AVX512_TARGET inline __m128i SmallSigma0(__m128i x) {
  return _mm_ternarylogic_epi64(_mm_ror_epi64(x, 1), _mm_ror_epi64(x, 8), _mm_srli_epi64(x, 7),
                                0x96);  // three-way XOR
}

SHA512_AVX512_TARGET inline __m128i SmallSigma1(__m128i x) {
  return _mm_ternarylogic_epi64(_mm_ror_epi64(x, 19), _mm_ror_epi64(x, 61), _mm_srli_epi64(x, 6),
                                0x96);
}

// Schedule words t and t + 1 from the window w[k] = (W[t-16+2k], W[t-15+2k]); they replace w[0].
// W[t+1] needs sigma1 of W[t-1], not of W[t], so both words come out of one pass.
SHA512_AVX512_TARGET inline __m128i NextScheduleWords(__m128i w0, __m128i w1, __m128i w4,
                                                      __m128i w5, __m128i w7) {
  const __m128i w15 = _mm_alignr_epi8(w1, w0, 8);     // W[t-15], W[t-14]
  const __m128i w7Back = _mm_alignr_epi8(w5, w4, 8);  // W[t-7], W[t-6]
  return _mm_add_epi64(_mm_add_epi64(w0, SmallSigma0(w15)), _mm_add_epi64(w7Back, SmallSigma1(w7)));
}

// W + K for steps t and t + 1, from the window word pair k, stored for the steps to load.
#define SHA512_STORE_WK(k, t)                                                                 \
  StorePinned(wk + (t), _mm_add_epi64(w[k], _mm_loadu_si128(reinterpret_cast<const __m128i*>( \
                                                SHA512_ROUND_CONSTANTS + (t)))))
#define SCHEDULE_PAIRS(t, i) SHA512_SCHEDULE_PAIRS(w, SHA512_STORE_WK, t, i)

#define WK(t, i) wk[(t) + (i)]

}  // namespace

bool ProcessorRunsSha512Avx512(const ProcessorFeatures& cpu) {
  return cpu.avx512f && cpu.avx512vl && cpu.bmi1 && cpu.bmi2;
}

SHA512_AVX512_TARGET void Sha512BlocksAvx512(uint64_t state[8], const uint8_t* blocks,
                                             size_t count) {
  const __m128i swapWordBytes = _mm_set_epi64x(0x08090a0b0c0d0e0f, 0x0001020304050607);
  uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (size_t block = 0; block < count; ++block, blocks += 128) {
    alignas(16) uint64_t wk[80];
    __m128i w[8];
    for (int k = 0; k < 8; ++k) {
      // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
      const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * k));
      w[k] = _mm_shuffle_epi8(words, swapWordBytes);
      SHA512_STORE_WK(k, 2 * k);
    }
    uint64_t bxc = b ^ c;
    SHA512_EIGHTY_STEPS(SHA512_STEP_SHORT_CHAIN, WK, SCHEDULE_PAIRS);
    a = state[0] += a;
    b = state[1] += b;
    c = state[2] += c;
    d = state[3] += d;
    e = state[4] += e;
    f = state[5] += f;
    g = state[6] += g;
    h = state[7] += h;
  }
}

#undef WK
#undef SCHEDULE_PAIRS
#undef SHA512_STORE_WK

#endif
