// CRC32 with PCLMULQDQ: four 128-bit accumulators fold 64 bytes a step, then one folds 16 bytes a
// step, and the table finishes the last few bytes.
#include "digest/crc32_folding.h"

#if DIGEST_X86_64_BACKENDS

namespace {

constexpr size_t LANE_BYTES = 16;
constexpr size_t STEP_BYTES = 4 * LANE_BYTES;

// Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
CRC32_CLMUL_TARGET inline __m128i Load(const uint8_t* data) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
}

CRC32_CLMUL_TARGET uint32_t FoldedRegister(uint32_t reg, const uint8_t*& data, size_t& length) {
  __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(reg)));
  __m128i x1 = Load(data + 16), x2 = Load(data + 32), x3 = Load(data + 48);
  data += STEP_BYTES;
  length -= STEP_BYTES;

  const __m128i fold512 = FoldConstantsVector(FoldForward(512));
  for (; length >= STEP_BYTES; data += STEP_BYTES, length -= STEP_BYTES) {
    x0 = Fold128(x0, fold512, Load(data));
    x1 = Fold128(x1, fold512, Load(data + 16));
    x2 = Fold128(x2, fold512, Load(data + 32));
    x3 = Fold128(x3, fold512, Load(data + 48));
  }

  const __m128i fold128 = FoldConstantsVector(FoldForward(128));
  __m128i x = Fold128(Fold128(Fold128(x0, fold128, x1), fold128, x2), fold128, x3);
  for (; length >= LANE_BYTES; data += LANE_BYTES, length -= LANE_BYTES) {
    x = Fold128(x, fold128, Load(data));
  }
  return ReduceToRegister(x);
}

}  // namespace

bool ProcessorRunsCrc32Pclmulqdq(const ProcessorFeatures& cpu) {
  return cpu.pclmulqdq && cpu.sse41;
}

uint32_t Crc32RegisterPclmulqdq(uint32_t reg, const uint8_t* data, size_t length) {
  if (length >= STEP_BYTES) reg = FoldedRegister(reg, data, length);
  return Crc32RegisterGeneric(reg, data, length);
}

#endif
