// SHA-224/256 with the SHA extensions: SHA256RNDS2 runs two steps on the state split into ABEF
// and CDGH, SHA256MSG1/SHA256MSG2 build the schedule four words at a time. The blocks are only
// read: the schedule stays in registers.
#include "digest/sha2/sha2_backend.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define SHA256_SHANI_TARGET DIGEST_TARGET("sha,sse4.1,ssse3")

namespace {

// Steps 4g to 4g + 3 with schedule words w[g % 4]; the schedule of the groups ahead is advanced
// as far as it is still needed.
template <int G>
SHA256_SHANI_TARGET inline void FourSteps(__m128i& abef, __m128i& cdgh, __m128i (&w)[4]) {
  __m128i& current = w[G % 4];
  const __m128i constants =
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(SHA256_ROUND_CONSTANTS + 4 * G));
  __m128i words = _mm_add_epi32(current, constants);
  cdgh = _mm_sha256rnds2_epu32(cdgh, abef, words);
  if constexpr (G >= 3 && G <= 14) {
    __m128i& ahead = w[(G + 1) % 4];
    ahead = _mm_add_epi32(ahead, _mm_alignr_epi8(current, w[(G + 3) % 4], 4));
    ahead = _mm_sha256msg2_epu32(ahead, current);
  }
  words = _mm_shuffle_epi32(words, 0x0E);
  abef = _mm_sha256rnds2_epu32(abef, cdgh, words);
  if constexpr (G >= 1 && G <= 12) w[(G + 3) % 4] = _mm_sha256msg1_epu32(w[(G + 3) % 4], current);
}

// Four big-endian words of the block in host order.
SHA256_SHANI_TARGET inline __m128i LoadWords(const uint8_t* block) {
  const __m128i swapWordBytes = _mm_set_epi64x(0x0c0d0e0f08090a0b, 0x0405060700010203);
  // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
  return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)), swapWordBytes);
}

}  // namespace

bool ProcessorRunsSha256ShaExtensions(const ProcessorFeatures& cpu) {
  return cpu.sha && cpu.sse41 && cpu.ssse3;
}

SHA256_SHANI_TARGET void Sha256BlocksShaExtensions(uint32_t state[8], const uint8_t* blocks,
                                                   size_t count) {
  const __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  const __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
  const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

  for (size_t i = 0; i < count; ++i, blocks += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i w[4] = {LoadWords(blocks), LoadWords(blocks + 16), LoadWords(blocks + 32),
                    LoadWords(blocks + 48)};
    FourSteps<0>(abef, cdgh, w);
    FourSteps<1>(abef, cdgh, w);
    FourSteps<2>(abef, cdgh, w);
    FourSteps<3>(abef, cdgh, w);
    FourSteps<4>(abef, cdgh, w);
    FourSteps<5>(abef, cdgh, w);
    FourSteps<6>(abef, cdgh, w);
    FourSteps<7>(abef, cdgh, w);
    FourSteps<8>(abef, cdgh, w);
    FourSteps<9>(abef, cdgh, w);
    FourSteps<10>(abef, cdgh, w);
    FourSteps<11>(abef, cdgh, w);
    FourSteps<12>(abef, cdgh, w);
    FourSteps<13>(abef, cdgh, w);
    FourSteps<14>(abef, cdgh, w);
    FourSteps<15>(abef, cdgh, w);
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }

  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#endif
