// SHA-1 with the SHA extensions: SHA1RNDS4 runs four steps, SHA1NEXTE derives the next E and
// adds it to the schedule words. SHA1MSG1/SHA1MSG2 build the schedule's groups 4 to 7 (words
// 16 to 31); SHA1MSG2 takes several cycles each, so the later groups come from the recurrence
// unrolled twice, W[t] = ROTL2(W[t-6] ^ W[t-16] ^ W[t-28] ^ W[t-32]), in plain SSE, which
// measures faster. The blocks are only read: the schedule stays in registers.
#include "digest/sha1/sha1_backend.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define SHA1_SHANI_TARGET DIGEST_TARGET("sha,sse4.1,ssse3")

namespace {

inline constexpr int SCHEDULE_WINDOW = 8;

SHA1_SHANI_TARGET inline __m128i RotateLeft2(__m128i x) {
  return _mm_or_si128(_mm_slli_epi32(x, 2), _mm_srli_epi32(x, 30));
}

// Group k of the schedule (words 4k to 4k + 3, the first in the highest lane) into slot k % 8
// of the window, whose slots hold the eight groups before it.
template <int K>
SHA1_SHANI_TARGET inline void ScheduleGroup(__m128i (&w)[SCHEDULE_WINDOW]) {
  constexpr int N = SCHEDULE_WINDOW;
  if constexpr (K >= 4 && K < 8) {
    const __m128i partial = _mm_xor_si128(_mm_sha1msg1_epu32(w[K - 4], w[K - 3]), w[K - 2]);
    w[K] = _mm_sha1msg2_epu32(partial, w[K - 1]);
  } else if constexpr (K >= 8 && K < 20) {
    const __m128i w6 = _mm_alignr_epi8(w[(K - 2) % N], w[(K - 1) % N], 8);  // W[t-6..t-3]
    w[K % N] = RotateLeft2(
        _mm_xor_si128(_mm_xor_si128(w6, w[(K - 4) % N]), _mm_xor_si128(w[(K - 7) % N], w[K % N])));
  }
}

// Steps 4g to 4g + 3 with schedule words w[g % 8]; e[g % 2] holds the E they start from. The
// schedule runs two groups ahead.
template <int G>
SHA1_SHANI_TARGET inline void FourSteps(__m128i& abcd, __m128i (&e)[2],
                                        __m128i (&w)[SCHEDULE_WINDOW]) {
  constexpr int FUNCTION = G / 5;  // Choose, Parity, Majority, Parity
  if constexpr (G == 0) {
    e[0] = _mm_add_epi32(e[0], w[0]);
  } else {
    e[G % 2] = _mm_sha1nexte_epu32(e[G % 2], w[G % SCHEDULE_WINDOW]);
  }
  // A copy of A for the next E of its own, so that SHA1RNDS4 works on abcd in place and no move
  // lies on the chain from one SHA1RNDS4 to the next.
  __m128i& next = e[(G + 1) % 2];
  next = abcd;
  next = Settled(next);
  abcd = _mm_sha1rnds4_epu32(abcd, e[G % 2], FUNCTION);
  ScheduleGroup<G + 2>(w);
}

// The block's 16 words, big-endian, in the order SHA1RNDS4 takes them (first word highest).
SHA1_SHANI_TARGET inline __m128i LoadWords(const uint8_t* block) {
  const __m128i reverseBytes = _mm_set_epi64x(0x0001020304050607, 0x08090a0b0c0d0e0f);
  // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
  return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)), reverseBytes);
}

}  // namespace

bool ProcessorRunsSha1ShaExtensions(const ProcessorFeatures& cpu) {
  return cpu.sha && cpu.sse41 && cpu.ssse3;
}

SHA1_SHANI_TARGET void Sha1BlocksShaExtensions(uint32_t state[5], uint8_t* blocks, size_t count) {
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
  __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
  for (size_t i = 0; i < count; ++i, blocks += 64) {
    const __m128i abcdBefore = abcd, eBefore = e0;
    __m128i e[2] = {e0, e0};
    __m128i w[SCHEDULE_WINDOW] = {LoadWords(blocks), LoadWords(blocks + 16), LoadWords(blocks + 32),
                                  LoadWords(blocks + 48)};
    FourSteps<0>(abcd, e, w);
    FourSteps<1>(abcd, e, w);
    FourSteps<2>(abcd, e, w);
    FourSteps<3>(abcd, e, w);
    FourSteps<4>(abcd, e, w);
    FourSteps<5>(abcd, e, w);
    FourSteps<6>(abcd, e, w);
    FourSteps<7>(abcd, e, w);
    FourSteps<8>(abcd, e, w);
    FourSteps<9>(abcd, e, w);
    FourSteps<10>(abcd, e, w);
    FourSteps<11>(abcd, e, w);
    FourSteps<12>(abcd, e, w);
    FourSteps<13>(abcd, e, w);
    FourSteps<14>(abcd, e, w);
    FourSteps<15>(abcd, e, w);
    FourSteps<16>(abcd, e, w);
    FourSteps<17>(abcd, e, w);
    FourSteps<18>(abcd, e, w);
    FourSteps<19>(abcd, e, w);
    // e[0] holds A before the last four steps: rotated, it is the new E.
    e0 = _mm_sha1nexte_epu32(e[0], eBefore);
    abcd = _mm_add_epi32(abcd, abcdBefore);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
  state[4] = static_cast<uint32_t>(_mm_extract_epi32(e0, 3));
}

#endif
