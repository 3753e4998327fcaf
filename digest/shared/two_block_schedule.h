#pragma once
// The hand-off from a message schedule of two blocks in AVX2 registers to steps in
// general-purpose registers, for the SHA-1 and SHA-224/256 backends without the SHA extensions:
// the first block's words sit in the low 128-bit half, the second block's in the high half, and
// the first block's steps run beside the schedule of both, which stores W + K of each group for
// the steps to load. The second block's steps then only load the words the first one left
// behind.
#include <cstdint>

#include "digest/shared/compiler_barriers.h"
#include "digest/shared/x86_intrinsics.h"

// AVX2 for the schedule; BMI1's ANDN and BMI2's RORX for the steps.
#define TWO_BLOCK_TARGET DIGEST_TARGET("avx2,bmi,bmi2")

// Four schedule words of each block: the first block's in the low half, the second's in the
// high half, as the step loads them.
struct alignas(32) TwoBlockScheduleGroup {
  uint32_t words[2][4];
};

// Four big-endian words of `first` and of `second`, in host order, in the two halves.
TWO_BLOCK_TARGET inline __m256i LoadWordsOfTwoBlocks(const uint8_t* first, const uint8_t* second) {
  const __m256i swapWordBytes =
      _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0, 7, 6, 5, 4,
                       11, 10, 9, 8, 15, 14, 13, 12);
  // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
  const __m256i both = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(second)), 1);
  return _mm256_shuffle_epi8(both, swapWordBytes);
}

// W + K of a group of both blocks, stored for the steps to load.
TWO_BLOCK_TARGET inline void StoreWordsPlusConstants(TwoBlockScheduleGroup& group, __m256i words,
                                                     __m256i constants) {
  StorePinned(group.words[0], _mm256_add_epi32(words, constants));
}

// Groups 0 to 3 of the pair at `blocks`, `count` blocks from the end: the message words
// themselves, into the window `w` and, W + K, into `schedule` through the includer's
// StoreScheduleGroup(schedule[p], words, p). A last single block is scheduled in both halves
// and stepped once.
#define TWO_BLOCK_LOAD_MESSAGE(w, schedule, blocks, count)               \
  do {                                                                   \
    const uint8_t* second = (count) > 1 ? (blocks) + 64 : (blocks);      \
    for (int p = 0; p < 4; ++p) {                                        \
      (w)[p] = LoadWordsOfTwoBlocks((blocks) + 16 * p, second + 16 * p); \
      StoreScheduleGroup((schedule)[p], (w)[p], p);                      \
    }                                                                    \
  } while (0)
