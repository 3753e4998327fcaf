// Keccak-f[1600] absorbing with each lane in an AVX-512VL register of its own (32 of them hold
// the 25 lanes and the temporaries): VPTERNLOGQ makes theta's five-way XOR in two instructions
// and computes chi in one; VPROLQ rotates without a copy. What theta adds to a column is one
// value, made once a column: kept as its two parts, for one VPTERNLOGQ to add to each lane, the
// five columns took ten registers, the round no longer fitted the 32 and spilled lanes to the
// stack, which cost AMD's Zen 4 about a tenth of its speed for the five XORs this saves.
#include "digest/sha3/keccak_backend.h"
#include "digest/sha3/keccak_rounds.h"
#include "digest/shared/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define KECCAK_AVX512_TARGET DIGEST_TARGET("avx512f,avx512vl")

namespace {

using KeccakLane = __m128i;  // the lane in the low 64 bits

constexpr int XOR3_TABLE = 0x96;  // a ^ b ^ c on the operand patterns 0xF0, 0xCC, 0xAA
constexpr int CHI_TABLE = 0xD2;   // a ^ (~b & c)

#define KECCAK_XOR(a, b) _mm_xor_si128((a), (b))
#define KECCAK_XOR5(a, b, c, d, e) \
  _mm_ternarylogic_epi64(_mm_ternarylogic_epi64((a), (b), (c), XOR3_TABLE), (d), (e), XOR3_TABLE)
#define KECCAK_THETA_EFFECT(left, right) _mm_xor_si128((left), _mm_rol_epi64((right), 1))
#define KECCAK_THETA(a, effect) _mm_xor_si128((a), (effect))
#define KECCAK_ROL(a, n) _mm_rol_epi64((a), (n))
#define KECCAK_CHI(a, b, c) _mm_ternarylogic_epi64((a), (b), (c), CHI_TABLE)

KECCAK_AVX512_TARGET inline KeccakLane LoadLane(const void* source) {
  return _mm_loadl_epi64(static_cast<const __m128i*>(source));
}

}  // namespace

bool ProcessorRunsKeccakAvx512(const ProcessorFeatures& cpu) {
  return cpu.avx512f && cpu.avx512vl;
}

KECCAK_AVX512_TARGET void KeccakAbsorbAvx512(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks,
                                             size_t count, uint32_t rate) {
#define KECCAK_LOAD_LANE(name, i) KeccakLane A##name = LoadLane(lanes + (i));
  KECCAK_FOR_EACH_LANE(KECCAK_LOAD_LANE)
#undef KECCAK_LOAD_LANE

  const uint32_t laneCount = rate / 8;
  for (size_t block = 0; block < count; ++block, blocks += rate) {
    // Unaligned loads: the framework's buffer is aligned but a caller's data need not be.
#define KECCAK_ABSORB_LANE(name, i) \
  if ((i) < laneCount) A##name = KECCAK_XOR(A##name, LoadLane(blocks + 8 * (i)));
    KECCAK_FOR_EACH_LANE(KECCAK_ABSORB_LANE)
#undef KECCAK_ABSORB_LANE

    for (int round = 0; round < KECCAK_ROUNDS; round += 2) {
#define KECCAK_DECLARE_LANE(name, i) KeccakLane E##name;
      KECCAK_FOR_EACH_LANE(KECCAK_DECLARE_LANE)
#undef KECCAK_DECLARE_LANE
      KECCAK_ROUND(A, E, LoadLane(&KECCAK_ROUND_CONSTANTS[round]));
      KECCAK_ROUND(E, A, LoadLane(&KECCAK_ROUND_CONSTANTS[round + 1]));
    }
  }

#define KECCAK_STORE_LANE(name, i) \
  _mm_storel_epi64(reinterpret_cast<__m128i*>(lanes + (i)), A##name);
  KECCAK_FOR_EACH_LANE(KECCAK_STORE_LANE)
#undef KECCAK_STORE_LANE
}

#endif
