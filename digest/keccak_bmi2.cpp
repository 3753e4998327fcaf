// Keccak-f[1600] absorbing in general-purpose registers, for processors without AVX-512: the
// round written out lane by lane between two sets of lanes (no moves for pi), with BMI1's ANDN
// for chi and BMI2's RORX for rotations that leave their source intact.
#include <bit>

#include "digest/byte_order.h"
#include "digest/keccak_backend.h"
#include "digest/keccak_rounds.h"
#include "digest/x86_intrinsics.h"

#if DIGEST_X86_64_BACKENDS

#define KECCAK_BMI2_TARGET DIGEST_TARGET("bmi,bmi2")

namespace {

using KeccakLane = uint64_t;

#define KECCAK_XOR(a, b) ((a) ^ (b))
#define KECCAK_XOR5(a, b, c, d, e) ((a) ^ (b) ^ (c) ^ (d) ^ (e))
#define KECCAK_THETA_EFFECT(left, right) ((left) ^ std::rotl((right), 1))
#define KECCAK_THETA(a, effect) ((a) ^ (effect))
#define KECCAK_ROL(a, n) std::rotl((a), (n))
#define KECCAK_CHI(a, b, c) ((a) ^ (~(b) & (c)))

}  // namespace

bool ProcessorRunsKeccakBmi2(const ProcessorFeatures& cpu) {
  return cpu.bmi1 && cpu.bmi2;
}

KECCAK_BMI2_TARGET void KeccakAbsorbBmi2(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks,
                                         size_t count, uint32_t rate) {
#define KECCAK_LOAD_LANE(name, i) KeccakLane A##name = lanes[i];
  KECCAK_FOR_EACH_LANE(KECCAK_LOAD_LANE)
#undef KECCAK_LOAD_LANE

  const uint32_t laneCount = rate / 8;
  for (size_t block = 0; block < count; ++block, blocks += rate) {
#define KECCAK_ABSORB_LANE(name, i) \
    if ((i) < laneCount) A##name ^= LoadLittleEndian64(blocks + 8 * (i));
    KECCAK_FOR_EACH_LANE(KECCAK_ABSORB_LANE)
#undef KECCAK_ABSORB_LANE

    for (int round = 0; round < KECCAK_ROUNDS; round += 2) {
#define KECCAK_DECLARE_LANE(name, i) KeccakLane E##name;
      KECCAK_FOR_EACH_LANE(KECCAK_DECLARE_LANE)
#undef KECCAK_DECLARE_LANE
      KECCAK_ROUND(A, E, KECCAK_ROUND_CONSTANTS[round]);
      KECCAK_ROUND(E, A, KECCAK_ROUND_CONSTANTS[round + 1]);
    }
  }

#define KECCAK_STORE_LANE(name, i) lanes[i] = A##name;
  KECCAK_FOR_EACH_LANE(KECCAK_STORE_LANE)
#undef KECCAK_STORE_LANE
}

#endif
