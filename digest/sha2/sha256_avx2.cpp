// SHA-224/256 without the SHA extensions: the steps in general-purpose registers, where BMI2's
// RORX rotates without disturbing its source, and the message schedule in AVX2 registers for two
// blocks at once, one in each 128-bit half. The first block's steps run beside the schedule of
// both; the second block's steps then only load the words the first one left behind.
#include "digest/sha2/sha2_backend.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS
#include "digest/shared/add_into_state.h"
#include "digest/sha2/sha256_steps.h"
#include "digest/shared/two_block_schedule.h"

namespace {

TWO_BLOCK_TARGET inline __m256i RotateRight(__m256i x, int n) {
  return _mm256_or_si256(_mm256_srli_epi32(x, n), _mm256_slli_epi32(x, 32 - n));
}

// sigma0 of FIPS 180-4, section 4.1.2, on four words of each block.
TWO_BLOCK_TARGET inline __m256i SmallSigma0(__m256i x) {
  return _mm256_xor_si256(_mm256_xor_si256(RotateRight(x, 7), RotateRight(x, 18)),
                          _mm256_srli_epi32(x, 3));
}

// sigma1 of the words in 32-bit lanes 0 and 2 of each half, where each sits doubled in its
// 64-bit lane: a 64-bit shift then rotates it. The results land in lanes 0 and 2.
TWO_BLOCK_TARGET inline __m256i SmallSigma1OfDoubled(__m256i doubled) {
  return _mm256_xor_si256(
      _mm256_xor_si256(_mm256_srli_epi64(doubled, 17), _mm256_srli_epi64(doubled, 19)),
      _mm256_srli_epi32(doubled, 10));
}

// Schedule words t to t + 3 of each block from w0 = W[t-16..t-13] to w3 = W[t-4..t-1]. W[t+2]
// and W[t+3] need sigma1 of W[t] and W[t+1], so the two pairs come out one after the other.
TWO_BLOCK_TARGET inline __m256i NextScheduleWords(__m256i w0, __m256i w1, __m256i w2, __m256i w3) {
  const __m256i lanes0And2ToLow =
      _mm256_setr_epi8(0, 1, 2, 3, 8, 9, 10, 11, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 3, 8, 9,
                       10, 11, -1, -1, -1, -1, -1, -1, -1, -1);
  const __m256i lanes0And2ToHigh =
      _mm256_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 3, 8, 9, 10, 11, -1, -1, -1, -1, -1,
                       -1, -1, -1, 0, 1, 2, 3, 8, 9, 10, 11);
  const __m256i w15 = _mm256_alignr_epi8(w1, w0, 4);  // W[t-15..t-12]
  const __m256i w7 = _mm256_alignr_epi8(w3, w2, 4);   // W[t-7..t-4]
  __m256i words = _mm256_add_epi32(_mm256_add_epi32(w0, w7), SmallSigma0(w15));
  const __m256i low = SmallSigma1OfDoubled(_mm256_shuffle_epi32(w3, 0xFA));  // W[t-2], W[t-1]
  words = _mm256_add_epi32(words, _mm256_shuffle_epi8(low, lanes0And2ToLow));
  const __m256i high = SmallSigma1OfDoubled(_mm256_shuffle_epi32(words, 0x50));  // W[t], W[t+1]
  return _mm256_add_epi32(words, _mm256_shuffle_epi8(high, lanes0And2ToHigh));
}

// W + K for group g of both blocks.
TWO_BLOCK_TARGET inline void StoreScheduleGroup(TwoBlockScheduleGroup& group, __m256i words,
                                                int g) {
  StoreWordsPlusConstants(group, words,
                          _mm256_broadcastsi128_si256(_mm_loadu_si128(
                              reinterpret_cast<const __m128i*>(SHA256_ROUND_CONSTANTS + 4 * g))));
}

// W + K of step 4q + i of the first block, and of the second.
#define FIRST_BLOCK_WK(q, i) schedule[q].words[0][i]
#define SECOND_BLOCK_WK(q, i) schedule[q].words[1][i]

}  // namespace

bool ProcessorRunsSha256Avx2(const ProcessorFeatures& cpu) {
  return cpu.avx2 && cpu.bmi1 && cpu.bmi2;
}

TWO_BLOCK_TARGET void Sha256BlocksAvx2(uint32_t state[8], const uint8_t* blocks, size_t count) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  while (count > 0) {
    TwoBlockScheduleGroup schedule[16];
    __m256i w[4];
    TWO_BLOCK_LOAD_MESSAGE(w, schedule, blocks, count);
    uint32_t x, y;
    SHA256_START_BLOCK();
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 0);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 2);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 4);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 6);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 8);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 10);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 12);
    SHA256_EIGHT_STEPS_SCHEDULING(FIRST_BLOCK_WK, w, schedule, 14);
    AddIntoState(state, a, b, c, d, e, f, g, h);
    if (count == 1) break;

    // A loop of sixteen steps: smaller code than the steps written out, and measured faster.
    SHA256_START_BLOCK();
    for (int q = 0; q < 16; q += 4) {
      SHA256_EIGHT_STEPS(SECOND_BLOCK_WK, q);
      SHA256_EIGHT_STEPS(SECOND_BLOCK_WK, q + 2);
    }
    AddIntoState(state, a, b, c, d, e, f, g, h);
    blocks += 128;
    count -= 2;
  }
}

#undef SECOND_BLOCK_WK
#undef FIRST_BLOCK_WK

#endif
