// SHA-1 without the SHA extensions: the steps in general-purpose registers, where BMI2's RORX
// rotates without disturbing its source and BMI1's ANDN gives half of Ch, and the message
// schedule in AVX2 registers for two blocks at once, one in each 128-bit half. The first
// block's steps run beside the schedule of both; the second block's steps then only load the
// words the first one left behind. The blocks are only read.
#include "digest/sha1/sha1_backend.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS
#include "digest/shared/add_into_state.h"
#include "digest/sha1/sha1_steps.h"
#include "digest/shared/two_block_schedule.h"

namespace {

TWO_BLOCK_TARGET inline __m256i RotateLeft(__m256i x, int n) {
  return _mm256_or_si256(_mm256_slli_epi32(x, n), _mm256_srli_epi32(x, 32 - n));
}

// Group p (words 4p to 4p + 3) for p from 4 to 7, by FIPS 180-4, section 6.1.2: W[t] =
// ROTL1(W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]). The last word of a group needs the first one, so
// it is computed without it and then corrected.
TWO_BLOCK_TARGET inline __m256i EarlyScheduleWords(__m256i w16, __m256i w12, __m256i w8,
                                                   __m256i w4) {
  const __m256i w14 = _mm256_alignr_epi8(w12, w16, 8);  // W[t-14..t-11]
  const __m256i w3 = _mm256_srli_si256(w4, 4);          // W[t-3..t-1], 0
  const __m256i words =
      RotateLeft(_mm256_xor_si256(_mm256_xor_si256(w16, w14), _mm256_xor_si256(w8, w3)), 1);
  return _mm256_xor_si256(words, RotateLeft(_mm256_slli_si256(words, 12), 1));
}

// Group p for p from 8 on: unrolling the recurrence twice gives W[t] = ROTL2(W[t-6] ^ W[t-16]
// ^ W[t-28] ^ W[t-32]), whose words lie in earlier groups only.
TWO_BLOCK_TARGET inline __m256i LateScheduleWords(__m256i w32, __m256i w28, __m256i w16, __m256i w8,
                                                  __m256i w4) {
  const __m256i w6 = _mm256_alignr_epi8(w4, w8, 8);  // W[t-6..t-3]
  return RotateLeft(_mm256_xor_si256(_mm256_xor_si256(w32, w28), _mm256_xor_si256(w16, w6)), 2);
}

// W + K for group p of both blocks.
TWO_BLOCK_TARGET inline void StoreScheduleGroup(TwoBlockScheduleGroup& group, __m256i words,
                                                int p) {
  StoreWordsPlusConstants(group, words,
                          _mm256_set1_epi32(static_cast<int>(SHA1_ROUND_CONSTANTS[p / 5])));
}

// W + K of step 4p + i of the first block, and of the second.
#define FIRST_BLOCK_WK(p, i) schedule[p].words[0][i]
#define SECOND_BLOCK_WK(p, i) schedule[p].words[1][i]
#define SCHEDULE_AHEAD(p) SHA1_SCHEDULE(w, schedule, p)
#define SHA1_NO_SCHEDULE(p) \
  do {                      \
  } while (0)

}  // namespace

bool ProcessorRunsSha1Avx2(const ProcessorFeatures& cpu) {
  return cpu.avx2 && cpu.bmi1 && cpu.bmi2;
}

TWO_BLOCK_TARGET void Sha1BlocksAvx2(uint32_t state[5], uint8_t* blocks, size_t count) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  while (count > 0) {
    TwoBlockScheduleGroup schedule[20];
    __m256i w[8];
    TWO_BLOCK_LOAD_MESSAGE(w, schedule, blocks, count);
    SHA1_EIGHTY_STEPS(FIRST_BLOCK_WK, SCHEDULE_AHEAD);
    AddIntoState(state, a, b, c, d, e);
    if (count == 1) break;

    SHA1_EIGHTY_STEPS(SECOND_BLOCK_WK, SHA1_NO_SCHEDULE);
    AddIntoState(state, a, b, c, d, e);
    blocks += 128;
    count -= 2;
  }
}

#undef SHA1_NO_SCHEDULE
#undef SCHEDULE_AHEAD
#undef SECOND_BLOCK_WK
#undef FIRST_BLOCK_WK

#endif
