// Keccak-f[1600] absorbing for processors with BMI1 and BMI2 but not AVX-512, in assembly on the
// frame of the x86-64 one (keccak_x86_64_asm.h): RORX makes theta's rotated parities without
// copies, and ANDN makes chi's ~b & c in one instruction from intact inputs, so no lane is held
// inverted and no NOT is needed; on Intel processors ANDN runs apart from the rotations' ports.
// Some 172 instructions a round against the x86-64 one's 190.
#include "digest/sha3/keccak_x86_64_asm.h"

#if DIGEST_X86_64_BACKENDS

namespace {

// clang-format off
// target = source <<< bits, leaving source intact.
#define RORX(bits, source, target) "rorxq $64-" #bits ", %%" source ", %%" target "\n\t"
// target = ~inverted & other.
#define ANDN(inverted, other, target) \
  "andnq %%" other ", %%" inverted ", %%" target "\n\t"
// theta's D_x = C_(x - 1) ^ (C_(x + 1) <<< 1), made in place in the registers that hold the
// parities; B0 keeps C_0 rotated for D_4, since D_1 overwrites C_0 first.
#define THETA_EFFECTS(DA, DE, DU)              \
  RORX(1, DE, B0)                              \
  RORX(1, DO, B1) OP(xor, B1, DE)              \
  RORX(1, DA, B1) OP(xor, B1, DO)              \
  RORX(1, DI, B1) OP(xor, B1, DA)              \
  RORX(1, DU, B1) OP(xor, B1, DI)              \
  OP(xor, B0, DU)

// chi's lane a ^ (~b & c) of the output row into lane `lane` of copy `out`, through `spare`.
#define CHI_LANE(out, lane, a, b, c, spare) \
  ANDN(b, c, spare) OP(xor, a, spare) STORE(spare, out, lane)
// A row's five lanes l0 to l4 from b0 to b4 in registers; `spare` is free.
#define CHI_ROW(out, l0, l1, l2, l3, l4, b0, b1, b2, b3, b4, spare)                  \
  CHI_LANE(out, l0, b0, b1, b2, spare) CHI_LANE(out, l1, b1, b2, b3, spare)          \
  CHI_LANE(out, l2, b2, b3, b4, spare) CHI_LANE(out, l3, b3, b4, b0, spare)          \
  CHI_LANE(out, l4, b4, b0, b1, spare)

// Row g has only the four working registers and b4's: it makes lanes 9 and 8 before loading b3
// and b2, then the others where an input lay whose last use it was.
#define ROW_G(in, out, DA, DE, DU, si)                                               \
  LANE_IN(B0, in, 3, DO, 28) LANE_IN(B1, in, 9, DU, 20) KEPT_IN(si, DI, 61)          \
  CHI_LANE(out, 9, si, B0, B1, TEMP)                                                 \
  LANE_IN(B3, in, 16, DE, 45)                                                        \
  CHI_LANE(out, 8, B3, si, B0, TEMP)                                                 \
  LANE_IN(TEMP, in, 10, DA, 3)                                                       \
  ANDN(B3, si, si) OP(xor, TEMP, si) STORE(si, out, 7)                               \
  ANDN(TEMP, B3, B3) OP(xor, B1, B3) STORE(B3, out, 6)                               \
  ANDN(B1, TEMP, TEMP) OP(xor, B0, TEMP) STORE(TEMP, out, 5)

// Row b, with iota on its lane ba; b3's register holds the round constant's address until b3
// is loaded.
#define ROW_B(in, out, constant, DA, DE, DU, su, spare)                              \
  LANE_IN_UNROTATED(B0, in, 0, DA) LANE_IN(B1, in, 6, DE, 44)                        \
  LANE_IN(TEMP, in, 12, DI, 43)                                                      \
  ANDN(B1, TEMP, spare) OP(xor, B0, spare)                                           \
  "movq " ROUND_CONSTANT ", %%" B3 "\n\t" "xorq " #constant "(%%" B3 "), %%" spare "\n\t" \
  STORE(spare, out, 0)                                                               \
  LANE_IN(B3, in, 18, DO, 21) KEPT_IN(su, DU, 14)                                    \
  CHI_LANE(out, 1, B1, TEMP, B3, spare) CHI_LANE(out, 2, TEMP, B3, su, spare)        \
  CHI_LANE(out, 3, B3, su, B0, spare) CHI_LANE(out, 4, su, B0, B1, spare)

// The other rows, like row b, load all five inputs and make their lanes through `spare`.
#define ROW_K(in, out, DA, DE, DU, sa, spare)                                        \
  LANE_IN(B0, in, 1, DE, 1) LANE_IN(B1, in, 7, DI, 6) LANE_IN(TEMP, in, 13, DO, 25)  \
  LANE_IN(B3, in, 19, DU, 8) KEPT_IN(sa, DA, 18)                                     \
  CHI_ROW(out, 10, 11, 12, 13, 14, B0, B1, TEMP, B3, sa, spare)

#define ROW_M(in, out, DA, DE, DU, so, spare)                                        \
  LANE_IN(B0, in, 4, DU, 27) LANE_IN(B1, in, 5, DA, 36) LANE_IN(TEMP, in, 11, DE, 10) \
  LANE_IN(B3, in, 17, DI, 15) KEPT_IN(so, DO, 56)                                    \
  CHI_ROW(out, 15, 16, 17, 18, 19, B0, B1, TEMP, B3, so, spare)

// Row s: b0 to b3 in DI, DO, DU, DA, b4 in se; su into KU, so into KO, si into se, se into DA,
// sa into DU, each once the lane it overwrites is no longer an input.
#define ROW_S(in, out, DA, DE, DU, sa, se, si)                                       \
  LAST_LANE_IN(in, 2, DI, 62) LAST_LANE_IN(in, 8, DO, 55) LAST_LANE_IN(in, 14, DU, 39) \
  LAST_LANE_IN(in, 15, DA, 41) KEPT_IN(se, DE, 2)                                    \
  ANDN(DI, DO, KU) OP(xor, se, KU)                                                   \
  ANDN(se, DI, KO) OP(xor, DA, KO)                                                   \
  ANDN(DA, se, se) OP(xor, DU, se)                                                   \
  ANDN(DU, DA, DA) OP(xor, DO, DA)                                                   \
  ANDN(DO, DU, DU) OP(xor, DI, DU)                                                   \
  ROW_S_PARITIES(out, DA, DE, DU, sa, se, si)

// clang-format on
}  // namespace

bool ProcessorRunsKeccakBmi2(const ProcessorFeatures& cpu) {
  return cpu.bmi1 && cpu.bmi2;
}

void KeccakAbsorbBmi2(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                      uint32_t rate) {
  if (count == 0) return;  // the assembly absorbs a block before it compares
  KeccakWorkspace workspace;
  PrepareKeccakWorkspace(workspace, lanes, blocks, count, rate);
  KECCAK_ABSORB_BLOCKS(workspace);
  for (int lane = 0; lane < KECCAK_LANES; ++lane) lanes[lane] = workspace.state[0][lane];
}

#undef CHI_ROW
#undef CHI_LANE
#undef ANDN
#undef RORX
#include "digest/sha3/keccak_x86_64_asm_end.h"

#endif
