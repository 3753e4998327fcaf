// CRC32 with PCLMULQDQ: eight 128-bit accumulators fold 128 bytes a step, so that eight
// multiplications are in flight while each waits for the one before it; the eight then join into
// one, which folds 16 bytes a step, and the table finishes the last few bytes.
#include <array>

#include "digest/crc32/crc32_folding.h"

#if DIGEST_X86_64_BACKENDS

namespace {

constexpr size_t LANE_BYTES = 16;
constexpr int LANES = 8;
constexpr size_t STEP_BYTES = LANES * LANE_BYTES;

// Lane i joins the last lane from 128 (LANES - 1 - i) bits before it.
constexpr std::array<FoldConstants, LANES - 1> JOIN_CONSTANTS = [] {
  std::array<FoldConstants, LANES - 1> constants{};
  for (int i = 0; i < LANES - 1; ++i) constants[i] = FoldForward(128 * (LANES - 1 - i));
  return constants;
}();

// Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
CRC32_CLMUL_TARGET inline __m128i Load(const uint8_t* data) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
}

// Every lane moved forward onto the last one and added to it; the multiplications are
// independent, only the additions wait for each other.
CRC32_CLMUL_TARGET inline __m128i JoinLanes(const __m128i (&lanes)[LANES]) {
  __m128i joined = lanes[LANES - 1];
  for (int i = 0; i < LANES - 1; ++i) {
    joined = Fold128(lanes[i], FoldConstantsVector(JOIN_CONSTANTS[i]), joined);
  }
  return joined;
}

CRC32_CLMUL_TARGET uint32_t FoldedRegister(uint32_t reg, const uint8_t*& data, size_t& length) {
  const __m128i initial = _mm_cvtsi32_si128(static_cast<int>(reg));
  __m128i x;
  if (length >= STEP_BYTES) {
    __m128i lanes[LANES];
    for (int i = 0; i < LANES; ++i) lanes[i] = Load(data + LANE_BYTES * i);
    lanes[0] = _mm_xor_si128(lanes[0], initial);
    data += STEP_BYTES;
    length -= STEP_BYTES;
    const __m128i foldStep = FoldConstantsVector(FoldForward(8 * STEP_BYTES));
    for (; length >= STEP_BYTES; data += STEP_BYTES, length -= STEP_BYTES) {
      for (int i = 0; i < LANES; ++i) {
        lanes[i] = Fold128(lanes[i], foldStep, Load(data + LANE_BYTES * i));
      }
    }
    x = JoinLanes(lanes);
  } else {
    x = _mm_xor_si128(Load(data), initial);
    data += LANE_BYTES;
    length -= LANE_BYTES;
  }

  const __m128i fold128 = FoldConstantsVector(FoldForward(128));
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
  if (length >= LANE_BYTES) reg = FoldedRegister(reg, data, length);
  return Crc32RegisterGeneric(reg, data, length);
}

#endif
