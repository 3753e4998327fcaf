// SHA-384/512 two blocks at a time, with the message schedule in AVX2 registers: each 128-bit
// half holds two words of one block, so that every instruction schedules two words of each block.
// The steps run in general-purpose registers with BMI2's RORX, on W + K stored for them. The
// schedule of the next two blocks runs beside the steps of these two, a share every four steps
// of either block: were a pair's schedule made beside its own first block's steps, as it must be
// ahead of them, those steps would carry all the vector work and the second block's none.
#include <array>
#include <utility>

#include "digest/sha2/sha2_backend.h"
#include "digest/sha2/sha512_steps.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define SHA512_AVX2_TARGET DIGEST_TARGET("avx2,bmi,bmi2")

namespace {

// AVX2 has no 64-bit rotation: two shifts make one, a byte shuffle one by a whole byte.
SHA512_AVX2_TARGET inline __m256i RotateRight(__m256i x, int bits) {
  return _mm256_or_si256(_mm256_srli_epi64(x, bits), _mm256_slli_epi64(x, 64 - bits));
}

// The functions of FIPS 180-4, section 4.1.3, on the schedule.
SHA512_AVX2_TARGET inline __m256i SmallSigma0(__m256i x) {
  const __m256i rotateRightByte =
      _mm256_setr_epi8(1, 2, 3, 4, 5, 6, 7, 0, 9, 10, 11, 12, 13, 14, 15, 8, 1, 2, 3, 4, 5, 6, 7, 0,
                       9, 10, 11, 12, 13, 14, 15, 8);
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
SHA512_AVX2_TARGET inline __m256i NextScheduleWords(__m256i w0, __m256i w1, __m256i w4, __m256i w5,
                                                    __m256i w7) {
  const __m256i w15 = _mm256_alignr_epi8(w1, w0, 8);     // W[t-15], W[t-14]
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
#define WK_FIRST(t, i) wk[2 * ((t) + (i)) - ((i)&1)]
#define WK_SECOND(t, i) wk[2 * ((t) + (i)) - ((i)&1) + 2]

// W + K for steps s and s + 1 from window pair k, stored for the steps to load.
#define SHA512_STORE_WK(k, s)                                                            \
  StorePinned(wk + 2 * (s),                                                              \
              _mm256_add_epi64(w[k], _mm256_load_si256(reinterpret_cast<const __m256i*>( \
                                         &ROUND_CONSTANT_PAIRS[2 * (s)]))))

#define SHA512_NO_SCHEDULE(t, i) \
  do {                           \
  } while (0)

// Schedule unit u (0 to 39) of a pair of blocks: words 2u and 2u + 1 of both, into window pair
// u % 8, with W + K stored for their steps. The first eight load the blocks' words.
template <int u>
SHA512_AVX2_TARGET inline void ScheduleUnit(__m256i (&w)[8], uint64_t* wk, const uint8_t* first,
                                            const uint8_t* second) {
  constexpr int k = u % 8;
  if constexpr (u < 8) {
    const __m256i swapWordBytes =
        _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1,
                         0, 15, 14, 13, 12, 11, 10, 9, 8);
    // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
    const __m256i words = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(second + 16 * k),
                                              reinterpret_cast<const __m128i*>(first + 16 * k));
    w[k] = _mm256_shuffle_epi8(words, swapWordBytes);
  } else {
    w[k] = NextScheduleWords(w[k], w[(k + 1) % 8], w[(k + 4) % 8], w[(k + 5) % 8], w[(k + 7) % 8]);
  }
  SHA512_STORE_WK(k, 2 * u);
}

// Units u... one after another, their window in registers.
template <int... u>
SHA512_AVX2_TARGET inline void ScheduleUnits(std::integer_sequence<int, u...>, uint64_t* wk,
                                             const uint8_t* first, const uint8_t* second) {
  __m256i w[8];
  (ScheduleUnit<u>(w, wk, first, second), ...);
}

// A pair's whole schedule with no steps beside it: the first pair's, and a last block's alone.
SHA512_AVX2_TARGET void SchedulePair(uint64_t* wk, const uint8_t* first, const uint8_t* second) {
  ScheduleUnits(std::make_integer_sequence<int, 40>(), wk, first, second);
}

// One block's 80 steps on `state`, taking W + K as WK(t, i), with BETWEEN(t, i) beside them.
#define SHA512_STEPS_OF_BLOCK(WK, BETWEEN)                           \
  do {                                                               \
    uint64_t a = state[0], b = state[1], c = state[2], d = state[3]; \
    uint64_t e = state[4], f = state[5], g = state[6], h = state[7]; \
    uint64_t bxc = b ^ c;                                            \
    SHA512_EIGHTY_STEPS(SHA512_STEP_SHORT_CHAIN, WK, BETWEEN);       \
    AddIntoState(state, a, b, c, d, e, f, g, h);                     \
  } while (0)

// One block's 80 steps with nothing beside them; `wk` points at its half of the pair's W + K.
SHA512_AVX2_TARGET void BlockSteps(uint64_t state[8], const uint64_t* wk) {
  SHA512_STEPS_OF_BLOCK(WK_FIRST, SHA512_NO_SCHEDULE);
}

// One schedule unit of the next pair every four steps: units 0 to 19 beside the first block's
// steps and 20 to 39 beside the second's.
#define SCHEDULE_NEXT(t, i)                                                  \
  do {                                                                       \
    if constexpr (((t) + (i)) % 4 == 2) {                                    \
      ScheduleUnit<unitBase + ((t) + (i)) / 4>(w, nextWk, next, next + 128); \
    }                                                                        \
  } while (0)

// Both blocks' 160 steps, scheduling the pair at `next` beside them.
SHA512_AVX2_TARGET void PairSteps(uint64_t state[8], const uint64_t* wk, uint64_t* nextWk,
                                  const uint8_t* next) {
  __m256i w[8];
  {
    constexpr int unitBase = 0;
    SHA512_STEPS_OF_BLOCK(WK_FIRST, SCHEDULE_NEXT);
  }
  {
    constexpr int unitBase = 20;
    SHA512_STEPS_OF_BLOCK(WK_SECOND, SCHEDULE_NEXT);
  }
}

#undef SCHEDULE_NEXT
#undef SHA512_STEPS_OF_BLOCK
#undef SHA512_NO_SCHEDULE
#undef SHA512_STORE_WK
#undef WK_SECOND
#undef WK_FIRST

}  // namespace

bool ProcessorRunsSha512Avx2(const ProcessorFeatures& cpu) {
  return cpu.avx2 && cpu.bmi1 && cpu.bmi2;
}

SHA512_AVX2_TARGET void Sha512BlocksAvx2(uint64_t state[8], const uint8_t* blocks, size_t count) {
  // Each store of W + K within one cache line takes 32-byte alignment, which GCC cannot give the
  // Windows stack: it is made by hand. Two pairs' W + K: the one whose steps run and the next.
  alignas(16) uint64_t space[2 * 160 + 2];
  uint64_t* wk = space + (reinterpret_cast<uintptr_t>(space) % 32 == 0 ? 0 : 2);
  uint64_t* nextWk = wk + 160;
  if (count >= 2) SchedulePair(wk, blocks, blocks + 128);
  for (; count >= 4; count -= 2, blocks += 256) {
    PairSteps(state, wk, nextWk, blocks + 256);
    std::swap(wk, nextWk);
  }
  if (count >= 2) {
    BlockSteps(state, wk);
    BlockSteps(state, wk + 2);
    count -= 2;
    blocks += 256;
  }
  // A last block alone is scheduled in both halves, and the first half's steps run.
  if (count) {
    SchedulePair(wk, blocks, blocks);
    BlockSteps(state, wk);
  }
}

#endif
