// Keccak-f[1600] absorbing for every x86-64 processor, in general-purpose registers without BMI.
// Compiled from C++, the two-operand round costs some 260 instructions in copies and spills
// where this one takes about 205, so the rounds are written out in assembly with the registers
// assigned by hand (thirteen of them: rbp may be the frame pointer and another register holds
// the workspace's address):
// - The rounds alternate between two copies of the state in memory, so that pi is only a matter
//   of which lane is read. Of each round's output, three lanes of the last row made (sa, se and
//   si) stay in registers for the next round; the column parities take the rows made before it
//   from memory and that row from registers.
// - Lane complementing: the lanes be, bi, go, ki, mi and sa are held inverted. Every XOR then
//   carries the inversion along, and chi becomes a ^ (b | c) or a ^ (b & c) on the held values
//   with a single NOT for most rows instead of one for every lane.
#include <cstddef>

#include "digest/byte_order.h"
#include "digest/keccak_backend.h"
#include "digest/keccak_rounds.h"

#if DIGEST_X86_64_BACKENDS

namespace {

// Lanes held inverted: be bi go ki mi sa.
constexpr int COMPLEMENTED_LANES[] = {1, 2, 8, 12, 17, 20};

// The asm's memory: the two copies of the state, then the address of the next round constant
// and the address after the last one.
struct KeccakWorkspace {
  uint64_t state[2][KECCAK_LANES];
  const uint64_t* roundConstant;
  const uint64_t* roundConstantsEnd;
};
static_assert(offsetof(KeccakWorkspace, roundConstant) == 400 &&
              offsetof(KeccakWorkspace, roundConstantsEnd) == 408);

void Complement(uint64_t lanes[KECCAK_LANES]) {
  for (int lane : COMPLEMENTED_LANES) lanes[lane] = ~lanes[lane];
}

// Registers by role. D_x, theta's effect on column x, holds C_(x - 1), the parity of column
// x - 1, between the end of one round and the theta of the next.
#define DA "r8"
#define DE "r9"
#define DI "r10"
#define DO "r11"
#define DU "r12"
// The lanes b0 to b4 of the row being made. b2 goes into TEMP's register once TEMP is free; b4
// is the lane from row s, kept in a register or loaded into SPARE (so and su).
#define B0 "rax"
#define B1 "rcx"
#define B3 "rdx"
#define TEMP "rsi"
#define SPARE "rdi"
// The kept lanes: sa in KA; se and si trade KX and KY every round, since row s makes each of
// them in the register of its input.
#define KA "r13"
#define KX "r14"
#define KY "r15"

#define LANE_AT(copy, lane) #copy "*200+8*" #lane "(%[workspace])"
#define ROUND_CONSTANT "400(%[workspace])"
#define ROUND_CONSTANTS_END "408(%[workspace])"

#define OP(op, source, target) #op "q %%" source ", %%" target "\n\t"
#define NOT(target) "notq %%" target "\n\t"
#define ROL(bits, target) "rolq $" #bits ", %%" target "\n\t"
#define LOAD(copy, lane, target) "movq " LANE_AT(copy, lane) ", %%" target "\n\t"
#define STORE(source, copy, lane) "movq %%" source ", " LANE_AT(copy, lane) "\n\t"
#define XOR_FROM(copy, lane, target) "xorq " LANE_AT(copy, lane) ", %%" target "\n\t"

// theta and rho: a lane of the input copy, or a kept one, with D of its column, rotated.
#define LANE_IN(target, copy, lane, d, bits) \
  LOAD(copy, lane, target) OP(xor, d, target) ROL(bits, target)
#define LANE_IN_UNROTATED(target, copy, lane, d) LOAD(copy, lane, target) OP(xor, d, target)
#define KEPT_IN(kept, d, bits) OP(xor, d, kept) ROL(bits, kept)

// iota on the lane in `target`; B0 is free to hold the round constant's address.
#define IOTA(offset, target) \
  "movq " ROUND_CONSTANT ", %%" B0 "\n\t" "xorq " #offset "(%%" B0 "), %%" target "\n\t"

// theta's D_x = C_(x - 1) ^ (C_(x + 1) <<< 1), made in place in the registers that hold the
// parities; B0 keeps C_0 rotated for D_4, since D_1 overwrites C_0 first.
#define THETA_EFFECTS                          \
  OP(mov, DE, B0) ROL(1, B0)                   \
  OP(mov, DO, B1) ROL(1, B1) OP(xor, B1, DE)   \
  OP(mov, DA, B1) ROL(1, B1) OP(xor, B1, DO)   \
  OP(mov, DI, B1) ROL(1, B1) OP(xor, B1, DA)   \
  OP(mov, DU, B1) ROL(1, B1) OP(xor, B1, DI)   \
  OP(xor, B0, DU)

// The output rows b, g, k and m, each from the lanes pi brings to it (FIPS 202, section 3.2.3):
// b0, b1 and b4 first, E4 and E3 through TEMP (b3 loaded between them), then b2 into TEMP's
// register and the rest made where their last input lay. The forms of chi on the held values
// follow from which lanes are complemented.
#define ROW_B(in, out)                                                               \
  LANE_IN_UNROTATED(B0, in, 0, DA) LANE_IN(B1, in, 6, DE, 44)                        \
  LANE_IN(SPARE, in, 24, DU, 14)                                                     \
  OP(mov, B0, TEMP) OP(and, B1, TEMP) OP(xor, SPARE, TEMP) STORE(TEMP, out, 4)       \
  LANE_IN(B3, in, 18, DO, 21)                                                        \
  OP(mov, SPARE, TEMP) OP(or, B0, TEMP) OP(xor, B3, TEMP) STORE(TEMP, out, 3)        \
  LANE_IN(TEMP, in, 12, DI, 43)                                                      \
  OP(and, B3, SPARE) OP(xor, TEMP, SPARE) STORE(SPARE, out, 2)                       \
  OP(mov, B1, SPARE) OP(or, TEMP, SPARE) OP(xor, B0, SPARE)

#define ROW_B_END(out)   \
  STORE(SPARE, out, 0)   \
  NOT(TEMP) OP(or, B3, TEMP) OP(xor, B1, TEMP) STORE(TEMP, out, 1)

#define ROW_G(in, out, si)                                                           \
  LANE_IN(B0, in, 3, DO, 28) LANE_IN(B1, in, 9, DU, 20) KEPT_IN(si, DI, 61)          \
  OP(mov, B0, TEMP) OP(and, B1, TEMP) OP(xor, si, TEMP) STORE(TEMP, out, 9)          \
  LANE_IN(B3, in, 16, DE, 45)                                                        \
  OP(mov, si, TEMP) OP(or, B0, TEMP) OP(xor, B3, TEMP) STORE(TEMP, out, 8)           \
  LANE_IN(TEMP, in, 10, DA, 3)                                                       \
  NOT(si) OP(or, B3, si) OP(xor, TEMP, si) STORE(si, out, 7)                         \
  OP(and, TEMP, B3) OP(xor, B1, B3) STORE(B3, out, 6)                                \
  OP(or, B1, TEMP) OP(xor, B0, TEMP) STORE(TEMP, out, 5)

#define ROW_K(in, out)                                                               \
  LANE_IN(B0, in, 1, DE, 1) LANE_IN(B1, in, 7, DI, 6) KEPT_IN(KA, DA, 18)            \
  OP(mov, B0, TEMP) OP(and, B1, TEMP) OP(xor, KA, TEMP) STORE(TEMP, out, 14)         \
  LANE_IN(B3, in, 19, DU, 8)                                                         \
  OP(mov, KA, TEMP) OP(or, B0, TEMP) OP(xor, B3, TEMP) NOT(TEMP) STORE(TEMP, out, 13) \
  LANE_IN(TEMP, in, 13, DO, 25)                                                      \
  OP(or, B3, KA) OP(xor, B3, KA) OP(xor, TEMP, KA) STORE(KA, out, 12)                \
  OP(and, TEMP, B3) OP(xor, B1, B3) STORE(B3, out, 11)                               \
  OP(or, B1, TEMP) OP(xor, B0, TEMP) STORE(TEMP, out, 10)

#define ROW_M(in, out)                                                               \
  LANE_IN(B0, in, 4, DU, 27) LANE_IN(B1, in, 5, DA, 36) LANE_IN(SPARE, in, 23, DO, 56) \
  OP(mov, B0, TEMP) OP(or, B1, TEMP) OP(xor, SPARE, TEMP) STORE(TEMP, out, 19)       \
  LANE_IN(B3, in, 17, DI, 15)                                                        \
  OP(mov, SPARE, TEMP) OP(and, B0, TEMP) OP(xor, B3, TEMP) NOT(TEMP) STORE(TEMP, out, 18) \
  LANE_IN(TEMP, in, 11, DE, 10)                                                      \
  OP(and, B3, SPARE) OP(xor, B3, SPARE) NOT(SPARE) OP(xor, TEMP, SPARE)              \
  STORE(SPARE, out, 17)                                                              \
  OP(or, TEMP, B3) OP(xor, B1, B3) STORE(B3, out, 16)                                \
  OP(and, B1, TEMP) OP(xor, B0, TEMP) STORE(TEMP, out, 15)

// The parity of the column whose lanes in rows b to m are l0 to l3 and whose lane in row s is
// in a register.
#define COLUMN_PARITY(copy, l0, l1, l2, l3, rowS, target)                            \
  LOAD(copy, l0, target) XOR_FROM(copy, l1, target) XOR_FROM(copy, l2, target)       \
  XOR_FROM(copy, l3, target) OP(xor, rowS, target)

// Row s, the last: all five lanes first, since D is then no longer needed, b2 and b3 into the
// registers of sa and si, which rows k and g have used. sa, se and si are made in registers to
// stay (si where se was, se where si was), su and so in SPARE and B3 and stored. Then the
// column parities of the new state, each into the register of D_(x + 1).
#define ROW_S(in, out, se, si)                                                       \
  LANE_IN(B0, in, 2, DI, 62) LANE_IN(B1, in, 8, DO, 55) LANE_IN(KA, in, 14, DU, 39)  \
  LANE_IN(si, in, 15, DA, 41) KEPT_IN(se, DE, 2)                                     \
  OP(mov, B0, SPARE) OP(and, B1, SPARE) OP(xor, se, SPARE) STORE(SPARE, out, 24)     \
  OP(mov, se, B3) OP(or, B0, B3) OP(xor, si, B3) STORE(B3, out, 23)                  \
  OP(and, si, se) OP(xor, KA, se)                                                    \
  NOT(B1) OP(or, KA, si) OP(xor, B1, si)                                             \
  OP(and, B1, KA) OP(xor, B0, KA)                                                    \
  COLUMN_PARITY(out, 0, 5, 10, 15, KA, DE) COLUMN_PARITY(out, 1, 6, 11, 16, si, DI)  \
  COLUMN_PARITY(out, 2, 7, 12, 17, se, DO) COLUMN_PARITY(out, 3, 8, 13, 18, B3, DU)  \
  COLUMN_PARITY(out, 4, 9, 14, 19, SPARE, DA)

// One round from copy `in` to copy `out`, its round constant `constant` bytes past the address
// in the workspace; se and si name the registers that hold those kept lanes on entry.
#define ROUND(in, out, constant, se, si)                                             \
  THETA_EFFECTS                                                                      \
  ROW_B(in, out) IOTA(constant, SPARE) ROW_B_END(out)                                \
  ROW_G(in, out, si) ROW_K(in, out) ROW_M(in, out) ROW_S(in, out, se, si)

}  // namespace

void KeccakAbsorbX86_64(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                        uint32_t rate) {
  KeccakWorkspace workspace;
  uint64_t* state = workspace.state[0];
  for (int lane = 0; lane < KECCAK_LANES; ++lane) state[lane] = lanes[lane];
  Complement(state);
  const uint32_t laneCount = rate / 8;
  for (size_t block = 0; block < count; ++block, blocks += rate) {
    for (uint32_t lane = 0; lane < laneCount; ++lane) {
      state[lane] ^= LoadLittleEndian64(blocks + 8 * lane);
    }
    workspace.roundConstant = KECCAK_ROUND_CONSTANTS.data();
    workspace.roundConstantsEnd = KECCAK_ROUND_CONSTANTS.data() + KECCAK_ROUNDS;
    // The parities of the absorbed state and its kept lanes, then the rounds four at a time,
    // from copy 0 to copy 1 and back, so that the state ends in copy 0.
    __asm__ volatile(
        LOAD(0, 20, KA) LOAD(0, 21, KX) LOAD(0, 22, KY) LOAD(0, 23, B3) LOAD(0, 24, SPARE)
        COLUMN_PARITY(0, 0, 5, 10, 15, KA, DE) COLUMN_PARITY(0, 1, 6, 11, 16, KX, DI)
        COLUMN_PARITY(0, 2, 7, 12, 17, KY, DO) COLUMN_PARITY(0, 3, 8, 13, 18, B3, DU)
        COLUMN_PARITY(0, 4, 9, 14, 19, SPARE, DA)
        ".p2align 5\n"
        "1:\n\t"
        ROUND(0, 1, 0, KX, KY)
        ROUND(1, 0, 8, KY, KX)
        ROUND(0, 1, 16, KX, KY)
        ROUND(1, 0, 24, KY, KX)
        "movq " ROUND_CONSTANT ", %%" B0 "\n\t"
        "addq $32, %%" B0 "\n\t"
        "movq %%" B0 ", " ROUND_CONSTANT "\n\t"
        "cmpq " ROUND_CONSTANTS_END ", %%" B0 "\n\t"
        "jne 1b\n\t"
        STORE(KA, 0, 20) STORE(KX, 0, 21) STORE(KY, 0, 22)
        :
        : [workspace] "r"(&workspace)
        : "rax", "rcx", "rdx", "rsi", "rdi", "r8", "r9", "r10", "r11", "r12", "r13", "r14", "r15",
          "cc", "memory");
  }
  Complement(state);
  for (int lane = 0; lane < KECCAK_LANES; ++lane) lanes[lane] = state[lane];
}

#endif
