// Keccak-f[1600] absorbing for every x86-64 processor, in general-purpose registers without BMI.
// Compiled from C++, the two-operand round costs some 260 instructions in copies and spills
// where this one takes about 190, so the blocks and rounds are written out in assembly with the
// registers assigned by hand (see keccak_x86_64_asm.h). Lane complementing: the lanes be, bi,
// go, ki, mi and sa are held inverted. Every XOR then carries the inversion along, and chi
// becomes a ^ (b | c) or a ^ (b & c) on the held values with a single NOT a row instead of one
// for every lane.
#include "digest/sha3/keccak_x86_64_asm.h"

#if DIGEST_X86_64_BACKENDS

namespace {

// Lanes held inverted: be bi go ki mi sa.
constexpr int COMPLEMENTED_LANES[] = {1, 2, 8, 12, 17, 20};

void Complement(uint64_t lanes[KECCAK_LANES]) {
  for (int lane : COMPLEMENTED_LANES) lanes[lane] = ~lanes[lane];
}

// clang-format off
#define NOT(target) "notq %%" target "\n\t"

// theta's D_x = C_(x - 1) ^ (C_(x + 1) <<< 1), made in place in the registers that hold the
// parities; B0 keeps C_0 rotated for D_4, since D_1 overwrites C_0 first.
#define THETA_EFFECTS(DA, DE, DU)              \
  OP(mov, DE, B0) ROL(1, B0)                   \
  OP(mov, DO, B1) ROL(1, B1) OP(xor, B1, DE)   \
  OP(mov, DA, B1) ROL(1, B1) OP(xor, B1, DO)   \
  OP(mov, DI, B1) ROL(1, B1) OP(xor, B1, DA)   \
  OP(mov, DU, B1) ROL(1, B1) OP(xor, B1, DI)   \
  OP(xor, B0, DU)

// The output rows g, b, k and m, in that order, each from the lanes pi brings to it as b0 to b4
// (FIPS 202, section 3.2.3), b4 being a kept lane of row s. The forms of chi on the held values
// follow from which lanes are complemented. Row g, made first, has only the four working
// registers and b4's, so it loads b3 and b2 late and makes its last three lanes where their last
// input lay. Once row g has consumed si, its register is a fifth working one, `spare`, for the
// other rows: each makes two lanes from copies in it, then the three others in the registers of
// b1, b0 and b3 (or b4), with a single NOT on b3 where the remaining forms need it inverted.
#define ROW_G(in, out, DA, DE, DU, si)                                               \
  LANE_IN(B0, in, 3, DO, 28) LANE_IN(B1, in, 9, DU, 20) KEPT_IN(si, DI, 61)          \
  OP(mov, B0, TEMP) OP(and, B1, TEMP) OP(xor, si, TEMP) STORE(TEMP, out, 9)          \
  LANE_IN(B3, in, 16, DE, 45)                                                        \
  OP(mov, si, TEMP) OP(or, B0, TEMP) OP(xor, B3, TEMP) STORE(TEMP, out, 8)           \
  LANE_IN(TEMP, in, 10, DA, 3)                                                       \
  NOT(si) OP(or, B3, si) OP(xor, TEMP, si) STORE(si, out, 7)                         \
  OP(and, TEMP, B3) OP(xor, B1, B3) STORE(B3, out, 6)                                \
  OP(or, B1, TEMP) OP(xor, B0, TEMP) STORE(TEMP, out, 5)

// Row b, with iota on its lane ba; b3's register holds the round constant's address until b3
// is loaded.
#define ROW_B(in, out, constant, DA, DE, DU, su, spare)                              \
  LANE_IN_UNROTATED(B0, in, 0, DA) LANE_IN(B1, in, 6, DE, 44)                        \
  LANE_IN(TEMP, in, 12, DI, 43)                                                      \
  OP(mov, B1, spare) OP(or, TEMP, spare) OP(xor, B0, spare)                          \
  "movq " ROUND_CONSTANT ", %%" B3 "\n\t" "xorq " #constant "(%%" B3 "), %%" spare "\n\t" \
  STORE(spare, out, 0)                                                               \
  LANE_IN(B3, in, 18, DO, 21)                                                        \
  OP(mov, TEMP, spare) NOT(spare) OP(or, B3, spare) OP(xor, B1, spare)               \
  STORE(spare, out, 1)                                                               \
  KEPT_IN(su, DU, 14)                                                                \
  OP(and, B0, B1) OP(xor, su, B1) STORE(B1, out, 4)                                  \
  OP(or, su, B0) OP(xor, B3, B0) STORE(B0, out, 3)                                   \
  OP(and, su, B3) OP(xor, TEMP, B3) STORE(B3, out, 2)

#define ROW_K(in, out, DA, DE, DU, sa, spare)                                        \
  LANE_IN(B1, in, 7, DI, 6) LANE_IN(TEMP, in, 13, DO, 25) LANE_IN(B3, in, 19, DU, 8) \
  OP(mov, TEMP, spare) OP(and, B3, spare) OP(xor, B1, spare) STORE(spare, out, 11)   \
  LANE_IN(B0, in, 1, DE, 1)                                                          \
  OP(mov, B1, spare) OP(or, TEMP, spare) OP(xor, B0, spare) STORE(spare, out, 10)    \
  KEPT_IN(sa, DA, 18)                                                                \
  OP(and, B0, B1) OP(xor, sa, B1) STORE(B1, out, 14)                                 \
  NOT(B3)                                                                            \
  OP(or, sa, B0) OP(xor, B3, B0) STORE(B0, out, 13)                                  \
  OP(and, sa, B3) OP(xor, TEMP, B3) STORE(B3, out, 12)

#define ROW_M(in, out, DA, DE, DU, so, spare)                                        \
  LANE_IN(B1, in, 5, DA, 36) LANE_IN(TEMP, in, 11, DE, 10) LANE_IN(B3, in, 17, DI, 15) \
  OP(mov, TEMP, spare) OP(or, B3, spare) OP(xor, B1, spare) STORE(spare, out, 16)    \
  LANE_IN(B0, in, 4, DU, 27)                                                         \
  OP(mov, B1, spare) OP(and, TEMP, spare) OP(xor, B0, spare) STORE(spare, out, 15)   \
  KEPT_IN(so, DO, 56)                                                                \
  OP(or, B0, B1) OP(xor, so, B1) STORE(B1, out, 19)                                  \
  NOT(B3)                                                                            \
  OP(and, so, B0) OP(xor, B3, B0) STORE(B0, out, 18)                                 \
  OP(or, so, B3) OP(xor, TEMP, B3) STORE(B3, out, 17)

// Row s, the last, whose lanes stay in registers: b0 to b3 made in the registers of their D and
// b4 in se's. su and so are made from copies into their own registers, which rows b and m have
// consumed, then si in b4's register, se in b3's and sa in b2's. Then the column parities of the
// new state, each into the register of the next round's D_(x + 1): those of b0 and b1, and of
// sa, si and D_e, consumed earlier in the round.
#define ROW_S(in, out, DA, DE, DU, sa, se, si)                                       \
  LAST_LANE_IN(in, 2, DI, 62) LAST_LANE_IN(in, 8, DO, 55) LAST_LANE_IN(in, 14, DU, 39) \
  LAST_LANE_IN(in, 15, DA, 41) KEPT_IN(se, DE, 2)                                    \
  OP(mov, DI, KU) OP(and, DO, KU) OP(xor, se, KU)                                    \
  OP(mov, se, KO) OP(or, DI, KO) OP(xor, DA, KO)                                     \
  OP(and, DA, se) OP(xor, DU, se)                                                    \
  NOT(DO) OP(or, DU, DA) OP(xor, DO, DA)                                             \
  OP(and, DO, DU) OP(xor, DI, DU)                                                    \
  ROW_S_PARITIES(out, DA, DE, DU, sa, se, si)

// clang-format on
}  // namespace

void KeccakAbsorbX86_64(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                        uint32_t rate) {
  if (count == 0) return;  // the assembly absorbs a block before it compares
  KeccakWorkspace workspace;
  PrepareKeccakWorkspace(workspace, lanes, blocks, count, rate);
  Complement(workspace.state[0]);
  KECCAK_ABSORB_BLOCKS(workspace);
  Complement(workspace.state[0]);
  for (int lane = 0; lane < KECCAK_LANES; ++lane) lanes[lane] = workspace.state[0][lane];
}

#undef NOT
#include "digest/sha3/keccak_x86_64_asm_end.h"

#endif
