#pragma once
// What the two assembly Keccak backends share: the workspace, the registers, the absorbing of the
// blocks and the loop over them and the rounds. The includer defines THETA_EFFECTS(DA, DE, DU)
// and the rows ROW_G to ROW_S that ROUND runs, leaving the registers as FOUR_ROUNDS describes,
// and expands KECCAK_ABSORB_BLOCKS in its absorb function. The frame's macros have short names
// to keep the assembly readable: the includer ends with keccak_x86_64_asm_end.h, which undefines
// them and the ones it defined for the frame, so that none leaks past it.
//
// - The rounds alternate between two copies of the state in memory, so that pi is only a matter
//   of which lane is read. The last row made, s, stays in registers for the next round; the
//   column parities take the rows made before it from memory and that row from registers.
// - What bounds the round on recent processors is the ALU ports, the two that rotate above all,
//   not the loads and stores: hence no copy that a register can spare, and every rotation in
//   the form that takes one micro-op.
// - The blocks are absorbed in the assembly too: each lane is XORed into the state and into the
//   column parities that the previous block's last round left in registers.
#include <cstddef>

#include "digest/sha3/keccak_backend.h"
#include "digest/sha3/keccak_round_constants.h"

#if DIGEST_X86_64_BACKENDS

// The asm's memory: the two copies of the state, the address of the next round constant and
// the address after the last one, the caller's rbp (see KECCAK_ABSORB_BLOCKS), the next block
// and the end of the blocks, the rate and the address of the first round constant.
struct KeccakWorkspace {
  uint64_t state[2][KECCAK_LANES];
  const uint64_t* roundConstant;
  const uint64_t* roundConstantsEnd;
  uint64_t savedRbp;
  const uint8_t* block;
  const uint8_t* blocksEnd;
  uint64_t rate;
  const uint64_t* roundConstants;
};
static_assert(offsetof(KeccakWorkspace, roundConstant) == 400 &&
              offsetof(KeccakWorkspace, roundConstantsEnd) == 408 &&
              offsetof(KeccakWorkspace, savedRbp) == 416 &&
              offsetof(KeccakWorkspace, block) == 424 &&
              offsetof(KeccakWorkspace, blocksEnd) == 432 &&
              offsetof(KeccakWorkspace, rate) == 440 &&
              offsetof(KeccakWorkspace, roundConstants) == 448);

// clang-format off
// Registers. Four are the working ones of every row: b0, b1, b2 (TEMP) and b3 of the row being
// made. rbx holds the workspace's address and rbp, saved in the workspace, is used as well (see
// KECCAK_ABSORB_BLOCKS), so that the other ten hold D of the five columns and all five lanes of
// row s. D_x, theta's effect
// on column x, holds C_(x - 1), the parity of column x - 1, between the end of one round and the
// theta of the next.
#define B0 "rax"
#define B1 "rcx"
#define B3 "rdx"
#define TEMP "rsi"
// Row s makes its lanes in the registers that D and the lanes it consumed held, and the new
// parities go where they fit, so the other six of the ten change roles from round to round and
// come back after four rounds: ROUND takes the registers of those six by name.
#define DI "r10"
#define DO "r11"
#define KO "rdi"
#define KU "rbp"
// The registers of those six in the first of every four rounds.
#define FIRST_DA "r8"
#define FIRST_DE "r9"
#define FIRST_DU "r12"
#define FIRST_SA "r13"
#define FIRST_SE "r14"
#define FIRST_SI "r15"

#define LANE_AT(copy, lane) #copy "*200+8*" #lane "(%[workspace])"
#define ROUND_CONSTANT "400(%[workspace])"
#define ROUND_CONSTANTS_END "408(%[workspace])"
#define SAVED_RBP "416(%[workspace])"
#define BLOCK "424(%[workspace])"
#define BLOCKS_END "432(%[workspace])"
#define RATE "440(%[workspace])"
#define ROUND_CONSTANTS "448(%[workspace])"

#define OP(op, source, target) #op "q %%" source ", %%" target "\n\t"
// As a right rotation: GAS encodes a left rotation by 1 in its short form, two micro-ops on recent
// Intel processors where the immediate form takes one, and rotations are the round's busiest port.
#define ROL(bits, target) "rorq $64-" #bits ", %%" target "\n\t"
#define LOAD(copy, lane, target) "movq " LANE_AT(copy, lane) ", %%" target "\n\t"
#define STORE(source, copy, lane) "movq %%" source ", " LANE_AT(copy, lane) "\n\t"
#define XOR_FROM(copy, lane, target) "xorq " LANE_AT(copy, lane) ", %%" target "\n\t"

// theta and rho: a lane of the input copy, or a kept one, with D of its column, rotated. The
// last lane of a column to be made (row s) is made in D's own register, which saves a copy.
#define LANE_IN(target, copy, lane, d, bits) \
  LOAD(copy, lane, target) OP(xor, d, target) ROL(bits, target)
#define LANE_IN_UNROTATED(target, copy, lane, d) LOAD(copy, lane, target) OP(xor, d, target)
#define KEPT_IN(kept, d, bits) OP(xor, d, kept) ROL(bits, kept)
#define LAST_LANE_IN(copy, lane, d, bits) XOR_FROM(copy, lane, d) ROL(bits, d)

// The parity of the column whose lanes in rows b to m are l0 to l3 and whose lane in row s is
// in a register.
#define COLUMN_PARITY(copy, l0, l1, l2, l3, rowS, target)                            \
  LOAD(copy, l0, target) XOR_FROM(copy, l1, target) XOR_FROM(copy, l2, target)       \
  XOR_FROM(copy, l3, target) OP(xor, rowS, target)

// The column parities of the new state at the end of row s, each into the register of the next
// round's D_(x + 1).
#define ROW_S_PARITIES(out, DA, DE, DU, sa, se, si)                                  \
  COLUMN_PARITY(out, 0, 5, 10, 15, DU, si) COLUMN_PARITY(out, 1, 6, 11, 16, DA, DI)  \
  COLUMN_PARITY(out, 2, 7, 12, 17, se, DO) COLUMN_PARITY(out, 3, 8, 13, 18, KO, sa)  \
  COLUMN_PARITY(out, 4, 9, 14, 19, KU, DE)

// One round from copy `in` to copy `out`, its round constant `constant` bytes past the address
// in the workspace, given the registers of D_a, D_e and D_u and of sa, se and si on entry. On
// exit D_a is in D_e's register, D_e in si's, D_u in sa's, sa in D_u's, se in D_a's and si in
// se's.
#define ROUND(in, out, constant, DA, DE, DU, sa, se, si)                             \
  THETA_EFFECTS(DA, DE, DU)                                                          \
  ROW_G(in, out, DA, DE, DU, si) ROW_B(in, out, constant, DA, DE, DU, KU, si)        \
  ROW_K(in, out, DA, DE, DU, sa, si) ROW_M(in, out, DA, DE, DU, KO, si)              \
  ROW_S(in, out, DA, DE, DU, sa, se, si)

// Four rounds from copy `in` to copy `out`, each taking the registers as the one before left
// them, after which every register is back in its role.
#define FOUR_ROUNDS(in, out, constant, DA, DE, DU, sa, se, si)                       \
  ROUND(in, out, constant, DA, DE, DU, sa, se, si)                                   \
  ROUND(out, in, constant + 8, DE, si, sa, DU, DA, se)                               \
  ROUND(in, out, constant + 16, si, se, DU, sa, DE, DA)                              \
  ROUND(out, in, constant + 24, se, DA, sa, DU, si, DE)

// Absorbing lane `lane` of the block at B0 into copy 0 and into the parity of its column, in the
// register where the first round's theta expects it.
#define ABSORB(lane, parity)                                                         \
  "movq 8*" #lane "(%%" B0 "), %%" B1 "\n\t" OP(xor, B1, parity)                     \
  "xorq %%" B1 ", " LANE_AT(0, lane) "\n\t"
// Blocks of 72, 104, 136 or 144 bytes: 9, 13, 17 or 18 lanes.
#define ABSORB_BLOCK                                                                 \
  "movq " BLOCK ", %%" B0 "\n\t"                                                     \
  ABSORB(0, FIRST_DE) ABSORB(1, DI) ABSORB(2, DO) ABSORB(3, FIRST_DU) ABSORB(4, FIRST_DA) \
  ABSORB(5, FIRST_DE) ABSORB(6, DI) ABSORB(7, DO) ABSORB(8, FIRST_DU)                \
  "cmpq $72, " RATE "\n\t" "je 3f\n\t"                                               \
  ABSORB(9, FIRST_DA) ABSORB(10, FIRST_DE) ABSORB(11, DI) ABSORB(12, DO)             \
  "cmpq $104, " RATE "\n\t" "je 3f\n\t"                                              \
  ABSORB(13, FIRST_DU) ABSORB(14, FIRST_DA) ABSORB(15, FIRST_DE) ABSORB(16, DI)      \
  "cmpq $136, " RATE "\n\t" "je 3f\n\t"                                              \
  ABSORB(17, DO)                                                                     \
  "3:\n\t"

// The workspace for absorbing `count` (at least one) blocks into `lanes`.
inline void PrepareKeccakWorkspace(KeccakWorkspace& workspace, const uint64_t lanes[KECCAK_LANES],
                                   const uint8_t* blocks, size_t count, uint32_t rate) {
  for (int lane = 0; lane < KECCAK_LANES; ++lane) workspace.state[0][lane] = lanes[lane];
  workspace.block = blocks;
  workspace.blocksEnd = blocks + count * rate;
  workspace.rate = rate;
  workspace.roundConstants = KECCAK_ROUND_CONSTANTS.data();
  workspace.roundConstantsEnd = KECCAK_ROUND_CONSTANTS.data() + KECCAK_ROUNDS;
}

// The lanes of row s and the parities of the state; then for each block, its lanes XORed into
// the state and the parities, and the rounds four at a time, from copy 0 to copy 1 and back,
// so that the state ends in copy 0 and the parities of the next block's theta in place.
//
// rbp is one of the registers, yet it is not in the clobbers: GCC refuses rbp as a clobber in a
// function where it may serve as the frame pointer, as it does in the sanitized builds. So the
// asm saves rbp in the workspace first and restores it last, and between the two nothing may be
// addressed through rbp: every memory operand is reached through rbx (%[workspace]), and the asm
// takes no "m" operand, which the compiler could address relative to rbp.
#define KECCAK_ABSORB_BLOCKS(workspace)                                                            \
  __asm__ volatile(                                                                                \
      "movq %%rbp, " SAVED_RBP "\n\t"                                                              \
      LOAD(0, 20, FIRST_SA) LOAD(0, 21, FIRST_SE) LOAD(0, 22, FIRST_SI) LOAD(0, 23, KO)            \
      LOAD(0, 24, KU)                                                                              \
      COLUMN_PARITY(0, 0, 5, 10, 15, FIRST_SA, FIRST_DE)                                           \
      COLUMN_PARITY(0, 1, 6, 11, 16, FIRST_SE, DI)                                                 \
      COLUMN_PARITY(0, 2, 7, 12, 17, FIRST_SI, DO)                                                 \
      COLUMN_PARITY(0, 3, 8, 13, 18, KO, FIRST_DU)                                                 \
      COLUMN_PARITY(0, 4, 9, 14, 19, KU, FIRST_DA)                                                 \
      "2:\n\t"                                                                                     \
      ABSORB_BLOCK                                                                                 \
      "addq " RATE ", %%" B0 "\n\t"                                                                \
      "movq %%" B0 ", " BLOCK "\n\t"                                                               \
      "movq " ROUND_CONSTANTS ", %%" B0 "\n\t"                                                     \
      "movq %%" B0 ", " ROUND_CONSTANT "\n\t"                                                      \
      ".p2align 5\n"                                                                               \
      "1:\n\t"                                                                                     \
      FOUR_ROUNDS(0, 1, 0, FIRST_DA, FIRST_DE, FIRST_DU, FIRST_SA, FIRST_SE, FIRST_SI)             \
      "movq " ROUND_CONSTANT ", %%" B0 "\n\t"                                                      \
      "addq $32, %%" B0 "\n\t"                                                                     \
      "movq %%" B0 ", " ROUND_CONSTANT "\n\t"                                                      \
      "cmpq " ROUND_CONSTANTS_END ", %%" B0 "\n\t"                                                 \
      "jne 1b\n\t"                                                                                 \
      "movq " BLOCK ", %%" B0 "\n\t"                                                               \
      "cmpq " BLOCKS_END ", %%" B0 "\n\t"                                                          \
      "jne 2b\n\t"                                                                                 \
      STORE(FIRST_SA, 0, 20) STORE(FIRST_SE, 0, 21) STORE(FIRST_SI, 0, 22) STORE(KO, 0, 23)        \
      STORE(KU, 0, 24)                                                                             \
      "movq " SAVED_RBP ", %%rbp\n\t"                                                              \
      :                                                                                            \
      : [workspace] "b"(&(workspace))                                                              \
      : "rax", "rcx", "rdx", "rsi", "rdi", "r8", "r9", "r10", "r11", "r12", "r13", "r14", "r15",   \
        "cc", "memory")

// clang-format on
#endif
