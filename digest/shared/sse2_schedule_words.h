#pragma once
// The hand-off from a message schedule in SSE2 registers to steps in general-purpose registers,
// for the SHA-1, SHA-224/256 and SHA-384/512 backends that every x86-64 processor runs. SSE2
// belongs to x86-64 itself, so no target is asked.
#include <cstdint>

#include "digest/shared/compiler_barriers.h"
#include "digest/shared/x86_intrinsics.h"

// Four big-endian 32-bit words in host order: bytes swapped within each 16-bit half, then the
// halves.
inline __m128i LoadBigEndianWords32(const uint8_t* bytes) {
  // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
  const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const __m128i halvesSwapped = _mm_or_si128(_mm_slli_epi16(words, 8), _mm_srli_epi16(words, 8));
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(halvesSwapped, 0xB1), 0xB1);
}

// Two big-endian 64-bit words in host order: bytes swapped within each 16-bit half, then the
// four halves of each word reversed.
inline __m128i LoadBigEndianWords64(const uint8_t* bytes) {
  // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
  const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const __m128i halvesSwapped = _mm_or_si128(_mm_slli_epi16(words, 8), _mm_srli_epi16(words, 8));
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(halvesSwapped, 0x1B), 0x1B);
}

// W + K of a group of four 32-bit words, stored for the steps to load.
inline void StoreWordsPlusConstants(uint32_t (&group)[4], __m128i words, __m128i constants) {
  StorePinned(group, _mm_add_epi32(words, constants));
}

// Groups 0 to 3 of the block at `block`: the message words themselves, into the window `w` and,
// W + K, into `schedule` through the includer's StoreScheduleGroup(schedule[p], words, p).
#define SSE2_LOAD_MESSAGE(w, schedule, block)          \
  do {                                                 \
    for (int p = 0; p < 4; ++p) {                      \
      (w)[p] = LoadBigEndianWords32((block) + 16 * p); \
      StoreScheduleGroup((schedule)[p], (w)[p], p);    \
    }                                                  \
  } while (0)
