// CRC32 with VPCLMULQDQ on 512-bit registers: four of them fold 256 bytes a step, then one folds
// 64 bytes a step; its four 128-bit lanes then join into one and the 128-bit code finishes.
#include "digest/crc32/crc32_folding.h"

#if DIGEST_X86_64_BACKENDS

#define CRC32_VPCLMULQDQ_TARGET DIGEST_TARGET("vpclmulqdq,avx512f,pclmul,sse4.1")

namespace {

constexpr size_t LANE_BYTES = 16;
constexpr size_t WIDE_BYTES = 64;
constexpr size_t STEP_BYTES = 4 * WIDE_BYTES;

// Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
CRC32_VPCLMULQDQ_TARGET inline __m512i LoadWide(const uint8_t* data) {
  return _mm512_loadu_si512(data);
}

CRC32_VPCLMULQDQ_TARGET inline __m512i EveryLane(FoldConstants constants) {
  return _mm512_broadcast_i32x4(FoldConstantsVector(constants));
}

// Each 128-bit lane moved forward by the distance of its constants, added to `next`.
CRC32_VPCLMULQDQ_TARGET inline __m512i FoldWide(__m512i accumulator, __m512i constants,
                                                __m512i next) {
  const __m512i low = _mm512_clmulepi64_epi128(accumulator, constants, 0x00);
  const __m512i high = _mm512_clmulepi64_epi128(accumulator, constants, 0x11);
  return _mm512_ternarylogic_epi64(low, high, next, 0x96);  // low ^ high ^ next
}

// Lanes 0, 1 and 2 moved forward onto lane 3 (by 384, 256 and 128 bits) and added to it.
CRC32_VPCLMULQDQ_TARGET inline __m128i JoinLanes(__m512i x) {
  const FoldConstants by384 = FoldForward(384), by256 = FoldForward(256), by128 = FoldForward(128);
  const __m512i constants =
      _mm512_set_epi64(0, 0, static_cast<int64_t>(by128.high), static_cast<int64_t>(by128.low),
                       static_cast<int64_t>(by256.high), static_cast<int64_t>(by256.low),
                       static_cast<int64_t>(by384.high), static_cast<int64_t>(by384.low));
  const __m512i moved = _mm512_xor_si512(_mm512_clmulepi64_epi128(x, constants, 0x00),
                                         _mm512_clmulepi64_epi128(x, constants, 0x11));
  const __m128i lanes01 =
      _mm_xor_si128(_mm512_extracti32x4_epi32(moved, 0), _mm512_extracti32x4_epi32(moved, 1));
  const __m128i lanes23 =
      _mm_xor_si128(_mm512_extracti32x4_epi32(moved, 2), _mm512_extracti32x4_epi32(x, 3));
  return _mm_xor_si128(lanes01, lanes23);
}

CRC32_VPCLMULQDQ_TARGET uint32_t FoldedRegister(uint32_t reg, const uint8_t*& data,
                                                size_t& length) {
  const __m512i initial = _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg)));
  __m512i z0 = _mm512_xor_si512(LoadWide(data), initial);
  __m512i z1 = LoadWide(data + 64), z2 = LoadWide(data + 128), z3 = LoadWide(data + 192);
  data += STEP_BYTES;
  length -= STEP_BYTES;

  const __m512i fold2048 = EveryLane(FoldForward(2048));
  for (; length >= STEP_BYTES; data += STEP_BYTES, length -= STEP_BYTES) {
    z0 = FoldWide(z0, fold2048, LoadWide(data));
    z1 = FoldWide(z1, fold2048, LoadWide(data + 64));
    z2 = FoldWide(z2, fold2048, LoadWide(data + 128));
    z3 = FoldWide(z3, fold2048, LoadWide(data + 192));
  }

  const __m512i fold512 = EveryLane(FoldForward(512));
  __m512i z = FoldWide(FoldWide(FoldWide(z0, fold512, z1), fold512, z2), fold512, z3);
  for (; length >= WIDE_BYTES; data += WIDE_BYTES, length -= WIDE_BYTES) {
    z = FoldWide(z, fold512, LoadWide(data));
  }

  const __m128i fold128 = FoldConstantsVector(FoldForward(128));
  __m128i x = JoinLanes(z);
  for (; length >= LANE_BYTES; data += LANE_BYTES, length -= LANE_BYTES) {
    x = Fold128(x, fold128, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data)));
  }
  return ReduceToRegister(x);
}

}  // namespace

bool ProcessorRunsCrc32Vpclmulqdq(const ProcessorFeatures& cpu) {
  return cpu.vpclmulqdq && cpu.avx512f && cpu.pclmulqdq && cpu.sse41;
}

uint32_t Crc32RegisterVpclmulqdq(uint32_t reg, const uint8_t* data, size_t length) {
  // Below one wide step the 128-bit backend does as well.
  if (length < STEP_BYTES) return Crc32RegisterPclmulqdq(reg, data, length);
  reg = FoldedRegister(reg, data, length);
  return Crc32RegisterGeneric(reg, data, length);
}

#endif
