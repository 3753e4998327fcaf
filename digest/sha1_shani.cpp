// SHA-1 with the SHA extensions: SHA1RNDS4 runs four steps, SHA1NEXTE derives the next E and
// adds it to the schedule words, SHA1MSG1/SHA1MSG2 build the schedule four words at a time. The
// blocks are only read: the schedule stays in registers.
#include "digest/sha1_backend.h"
#include "digest/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define SHA1_SHANI_TARGET DIGEST_TARGET("sha,sse4.1,ssse3")

namespace {

// Steps 4g to 4g + 3. w[g % 4] holds their schedule words; e[g % 2] the E they start from; the
// schedule of the groups ahead is advanced as far as it is still needed.
template <int G>
SHA1_SHANI_TARGET inline void FourSteps(__m128i& abcd, __m128i (&e)[2], __m128i (&w)[4]) {
  constexpr int FUNCTION = G / 5;  // Choose, Parity, Majority, Parity
  __m128i& next = e[(G + 1) % 2];
  if constexpr (G == 0) {
    e[0] = _mm_add_epi32(e[0], w[0]);
  } else {
    e[G % 2] = _mm_sha1nexte_epu32(e[G % 2], w[G % 4]);
  }
  next = abcd;
  if constexpr (G >= 3 && G <= 18) w[(G + 1) % 4] = _mm_sha1msg2_epu32(w[(G + 1) % 4], w[G % 4]);
  abcd = _mm_sha1rnds4_epu32(abcd, e[G % 2], FUNCTION);
  if constexpr (G >= 1 && G <= 16) w[(G + 3) % 4] = _mm_sha1msg1_epu32(w[(G + 3) % 4], w[G % 4]);
  if constexpr (G >= 2 && G <= 17) w[(G + 2) % 4] = _mm_xor_si128(w[(G + 2) % 4], w[G % 4]);
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
    __m128i w[4] = {LoadWords(blocks), LoadWords(blocks + 16), LoadWords(blocks + 32),
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
