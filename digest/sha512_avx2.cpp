// SHA-384/512 two blocks at a time, with the message schedule in AVX2 registers: each 128-bit
// half holds two words of one block, so that every instruction schedules two words of each block.
// The steps run in general-purpose registers with BMI2's RORX: the first block's steps beside the
// schedule of both, sixteen steps ahead of them, then the second block's on the W + K stored for
// it, with no schedule work left to do.
#include <array>

#include "digest/sha2_backend.h"
#include "digest/sha512_steps.h"
#include "digest/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define SHA512_AVX2_TARGET DIGEST_TARGET("avx2,bmi,bmi2")

namespace {

// AVX2 has no 64-bit rotation: two shifts make one, a byte shuffle one by a whole byte.
SHA512_AVX2_TARGET inline __m256i RotateRight(__m256i x, int bits) {
  return _mm256_or_si256(_mm256_srli_epi64(x, bits), _mm256_slli_epi64(x, 64 - bits));
}

// The functions of FIPS 180-4, section 4.1.3, on the schedule.
SHA512_AVX2_TARGET inline __m256i SmallSigma0(__m256i x) {
  const __m256i rotateRightByte = _mm256_setr_epi8(
      1, 2, 3, 4, 5, 6, 7, 0, 9, 10, 11, 12, 13, 14, 15, 8,
      1, 2, 3, 4, 5, 6, 7, 0, 9, 10, 11, 12, 13, 14, 15, 8);
  return _mm256_xor_si256(
      _mm256_xor_si256(RotateRight(x, 1), _mm256_shuffle_epi8(x, rotateRightByte)),
      _mm256_srli_epi64(x, 7));
}

SHA512_AVX2_TARGET inline __m256i SmallSigma1(__m256i x) {
  return _mm256_xor_si256(_mm256_xor_si256(RotateRight(x, 19), RotateRight(x, 61)),
                          _mm256_srli_epi64(x, 6));
}

// Window pair k holds (W[t-16+2k], W[t-15+2k]) of both blocks; words t and t + 1 replace pair 0.
// W[t+1] needs sigma1 of W[t-1], not of W[t], so both words come out of one pass.
SHA512_AVX2_TARGET inline __m256i NextScheduleWords(__m256i w0, __m256i w1, __m256i w4,
                                                    __m256i w5, __m256i w7) {
  const __m256i w15 = _mm256_alignr_epi8(w1, w0, 8);  // W[t-15], W[t-14]
  const __m256i w7Back = _mm256_alignr_epi8(w5, w4, 8);  // W[t-7], W[t-6]
  return _mm256_add_epi64(_mm256_add_epi64(w0, SmallSigma0(w15)),
                          _mm256_add_epi64(w7Back, SmallSigma1(w7)));
}

// K of steps s and s + 1 (s even) for both halves, from ROUND_CONSTANT_PAIRS[2s]: one load,
// where filling both halves from one pair would take a shuffle as well.
alignas(32) constexpr std::array<uint64_t, 2 * 80> ROUND_CONSTANT_PAIRS = [] {
  std::array<uint64_t, 2 * 80> pairs{};
  for (int s = 0; s < 80; s += 2) {
    for (int half = 0; half < 2; ++half) {
      pairs[2 * s + 2 * half] = SHA512_ROUND_CONSTANTS[s];
      pairs[2 * s + 2 * half + 1] = SHA512_ROUND_CONSTANTS[s + 1];
    }
  }
  return pairs;
}();

// W + K of steps s and s + 1 of both blocks (s even) is stored as four words from wk[2s]: the
// first block's two, then the second's.
#define WK_FIRST(t, i) wk[2 * ((t) + (i)) - ((i) & 1)]
#define WK_SECOND(t, i) wk[2 * ((t) + (i)) - ((i) & 1) + 2]

// W + K for steps s and s + 1 from window pair k, stored for the steps to load: the compiler would
// otherwise move each word across with extractions that compete with the steps for their ports,
// where a store and a load use ports the steps leave idle.
#define SHA512_STORE_WK(k, s)                                                               \
  do {                                                                                      \
    const __m256i constants =                                                               \
        _mm256_load_si256(reinterpret_cast<const __m256i*>(&ROUND_CONSTANT_PAIRS[2 * (s)])); \
    _mm256_store_si256(reinterpret_cast<__m256i*>(wk + 2 * (s)),                            \
                       _mm256_add_epi64(w[k], constants));                                  \
    __asm__("" : "+m"(wk[2 * (s)]), "+m"(wk[2 * (s) + 1]), "+m"(wk[2 * (s) + 2]),           \
            "+m"(wk[2 * (s) + 3]));                                                         \
  } while (0)

#define SHA512_NO_SCHEDULE(t, i) \
  do {                           \
  } while (0)

// The first sixteen words of both blocks, in big-endian order, with W + K stored for their steps.
SHA512_AVX2_TARGET inline void LoadBlocks(__m256i (&w)[8], uint64_t* wk, const uint8_t* first,
                                          const uint8_t* second) {
  const __m256i swapWordBytes = _mm256_setr_epi8(
      7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,
      7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
  for (int k = 0; k < 8; ++k) {
    // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
    const __m256i words = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(second + 16 * k),
                                              reinterpret_cast<const __m128i*>(first + 16 * k));
    w[k] = _mm256_shuffle_epi8(words, swapWordBytes);
    SHA512_STORE_WK(k, 2 * k);
  }
}

// The first block's 80 steps, scheduling both blocks' words 16 to 79 beside the first 64.
SHA512_AVX2_TARGET void FirstBlockSteps(uint64_t state[8], uint64_t* wk, const uint8_t* first,
                                        const uint8_t* second) {
  __m256i w[8];
  LoadBlocks(w, wk, first, second);
  uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
  uint64_t bxc = b ^ c;
  SHA512_EIGHTY_STEPS(SHA512_STEP_SHORT_CHAIN, WK_FIRST, SHA512_SCHEDULE_PAIRS);
  Sha512AddWorkingVariables(state, a, b, c, d, e, f, g, h);
}

// The second block's 80 steps on the W + K the first block's steps stored.
SHA512_AVX2_TARGET void SecondBlockSteps(uint64_t state[8], const uint64_t* wk) {
  uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
  uint64_t bxc = b ^ c;
  SHA512_EIGHTY_STEPS(SHA512_STEP_SHORT_CHAIN, WK_SECOND, SHA512_NO_SCHEDULE);
  Sha512AddWorkingVariables(state, a, b, c, d, e, f, g, h);
}

#undef SHA512_NO_SCHEDULE
#undef SHA512_STORE_WK
#undef WK_SECOND
#undef WK_FIRST

}  // namespace

bool ProcessorRunsSha512Avx2(const ProcessorFeatures& cpu) {
  return cpu.avx2 && cpu.bmi1 && cpu.bmi2;
}

SHA512_AVX2_TARGET void Sha512BlocksAvx2(uint64_t state[8], const uint8_t* blocks,
                                         size_t count) {
  // Each store of W + K within one cache line takes 32-byte alignment, which GCC cannot give the
  // Windows stack: it is made by hand.
  alignas(16) uint64_t space[2 * 80 + 2];
  uint64_t* wk = space + (reinterpret_cast<uintptr_t>(space) % 32 == 0 ? 0 : 2);
  for (; count >= 2; count -= 2, blocks += 256) {
    FirstBlockSteps(state, wk, blocks, blocks + 128);
    SecondBlockSteps(state, wk);
  }
  // A last block alone is scheduled in both halves and only the first half's steps run.
  if (count) FirstBlockSteps(state, wk, blocks, blocks);
}

#endif
