#pragma once
// What the carry-less-multiplication backends of CRC32 share: the folding constants, worked out
// from the polynomial at compile time, and the final reduction of 128 bits to the 32-bit register.
//
// Bits are reflected throughout, as in the register itself: bit 0 of a 128-bit accumulator is the
// coefficient of the highest power of x. Folding an accumulator forward by D bits multiplies its
// low 64 bits by x^(D+32) mod P and its high 64 bits by x^(D-32) mod P, each reflected into 33
// bits, and adds (XORs) both products to the data D bits further on.
#include <cstdint>

#include "digest/crc32/crc32_backend.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

// x^n mod P, reflected into 33 bits: multiplying by x shifts the reflected register right.
constexpr uint64_t ReflectedPowerOfX(int n) {
  uint32_t value = 0x80000000;  // x^0
  for (int i = 0; i < n; ++i) value = (value >> 1) ^ ((value & 1) ? CRC32_POLYNOMIAL : 0);
  return uint64_t{value} << 1;
}

constexpr uint64_t ReflectBits(uint64_t value, int bits) {
  uint64_t reflected = 0;
  for (int i = 0; i < bits; ++i) reflected |= ((value >> i) & 1) << (bits - 1 - i);
  return reflected;
}

// Barrett's constant: the quotient of x^64 by P, reflected into 33 bits. Long division one
// quotient bit at a time, `window` holding the 33 dividend bits at the current position.
constexpr uint64_t ReflectedBarrettQuotient() {
  const uint64_t polynomial = ReflectBits(CRC32_POLYNOMIAL, 32) | uint64_t{1} << 32;
  uint64_t window = uint64_t{1} << 32;  // x^64's leading bit
  uint64_t quotient = 0;
  for (int bit = 32; bit >= 0; --bit) {
    if (window >> 32 & 1) {
      quotient |= uint64_t{1} << bit;
      window ^= polynomial;
    }
    window <<= 1;
  }
  return ReflectBits(quotient, 33);
}

struct FoldConstants {
  uint64_t low;   // multiplies the accumulator's low 64 bits
  uint64_t high;  // multiplies its high 64 bits
};

constexpr FoldConstants FoldForward(int distanceBits) {
  return {ReflectedPowerOfX(distanceBits + 32), ReflectedPowerOfX(distanceBits - 32)};
}

inline constexpr uint64_t CRC32_REFLECTED_POLYNOMIAL = uint64_t{CRC32_POLYNOMIAL} << 1 | 1;
inline constexpr uint64_t CRC32_BARRETT_QUOTIENT = ReflectedBarrettQuotient();
static_assert(FoldForward(512).low == 0x154442bd4 && FoldForward(512).high == 0x1c6e41596);
static_assert(FoldForward(128).low == 0x1751997d0 && FoldForward(128).high == 0x0ccaa009e);
static_assert(CRC32_REFLECTED_POLYNOMIAL == 0x1db710641);
static_assert(CRC32_BARRETT_QUOTIENT == 0x1f7011641);

#define CRC32_CLMUL_TARGET DIGEST_TARGET("pclmul,sse4.1")

CRC32_CLMUL_TARGET inline __m128i FoldConstantsVector(FoldConstants constants) {
  return _mm_set_epi64x(static_cast<int64_t>(constants.high), static_cast<int64_t>(constants.low));
}

// The accumulator moved forward by the distance its constants stand for, added to `next`.
CRC32_CLMUL_TARGET inline __m128i Fold128(__m128i accumulator, __m128i constants, __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(accumulator, constants, 0x00);
  const __m128i high = _mm_clmulepi64_si128(accumulator, constants, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// The register after the 128 bits of the accumulator: fold them to 64 bits (appending the 32 zero
// bits the register implies), then to 32, then reduce modulo P with Barrett's method.
CRC32_CLMUL_TARGET inline uint32_t ReduceToRegister(__m128i accumulator) {
  const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
  const __m128i fold128 = FoldConstantsVector(FoldForward(128));
  __m128i x = _mm_xor_si128(_mm_srli_si128(accumulator, 8),
                            _mm_clmulepi64_si128(accumulator, fold128, 0x10));
  const __m128i power64 = _mm_set_epi64x(0, static_cast<int64_t>(ReflectedPowerOfX(64)));
  x = _mm_xor_si128(_mm_srli_si128(x, 4),
                    _mm_clmulepi64_si128(_mm_and_si128(x, low32), power64, 0x00));
  const __m128i barrett = _mm_set_epi64x(static_cast<int64_t>(CRC32_BARRETT_QUOTIENT),
                                         static_cast<int64_t>(CRC32_REFLECTED_POLYNOMIAL));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
  return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

#endif
