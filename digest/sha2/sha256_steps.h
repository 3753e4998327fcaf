#pragma once
// SHA-224/256 steps in general-purpose registers, for the backends that compute the message
// schedule in vector registers and leave W + K of every step in memory. The includer's target
// attribute decides the instructions: under BMI2 each rotation is a RORX, which leaves its
// source intact. The includer names its working variables a to h and two spare words x and y.
#include <bit>
#include <cstdint>

#include "digest/shared/compiler_barriers.h"

// The functions of FIPS 180-4, section 4.1.2, on the working variables.
inline uint32_t Sha256BigSigma0(uint32_t x) {
  return std::rotr(x, 2) ^ std::rotr(x, 13) ^ std::rotr(x, 22);
}

inline uint32_t Sha256BigSigma1(uint32_t x) {
  return std::rotr(x, 6) ^ std::rotr(x, 11) ^ std::rotr(x, 25);
}

// One step with W + K `wk`. From e to the new e, d + T1, there are only Sigma1 and one addition:
// d + h + W + K + Ch(e, f, g) is summed first, and T1 is then taken back out of the new e for
// the new a, T1 + Maj(a, b, c) + Sigma0(a). Ch(e, f, g) = ((f ^ g) & e) ^ g stays in that form:
// rewritten into (e & f) | (~e & g), as the compiler would, the steps measure slower. Maj(a, b,
// c) = ((a ^ b) & (b ^ c)) ^ b reuses this step's a ^ b as the next step's b ^ c.
#define SHA256_STEP(a, b, c, d, e, f, g, h, wk, ab, bc)  \
  do {                                                   \
    const uint32_t dBefore = d;                          \
    h += (wk);                                           \
    d = Settled(d + h);                                  \
    d = Settled(d + (Settled(((f) ^ (g)) & (e)) ^ (g))); \
    d += Sha256BigSigma1(e);                             \
    ab = (a) ^ (b);                                      \
    h = Settled(d - dBefore);                            \
    h = Settled(h + ((ab & bc) ^ (b)));                  \
    h += Sha256BigSigma0(a);                             \
  } while (0)

// Steps 4q to 4q + 3, the working variables' names rotated by q; WK(q, i) is W + K of step
// 4q + i.
#define SHA256_FOUR_STEPS(WK, q, a, b, c, d, e, f, g, h) \
  SHA256_STEP(a, b, c, d, e, f, g, h, WK(q, 0), x, y);   \
  SHA256_STEP(h, a, b, c, d, e, f, g, WK(q, 1), y, x);   \
  SHA256_STEP(g, h, a, b, c, d, e, f, WK(q, 2), x, y);   \
  SHA256_STEP(f, g, h, a, b, c, d, e, WK(q, 3), y, x)

// Steps 4q to 4q + 7, after which the names are back where they started.
#define SHA256_EIGHT_STEPS(WK, q)                   \
  SHA256_FOUR_STEPS(WK, q, a, b, c, d, e, f, g, h); \
  SHA256_FOUR_STEPS(WK, (q) + 1, e, f, g, h, a, b, c, d)

// Group q + 4 of the message schedule, sixteen steps ahead of the steps that take it, as far as
// there are groups left. The window `w` holds the last four groups, slot q % 4 for group q; the
// includer defines NextScheduleWords (from groups q to q + 3) and
// StoreScheduleGroup(schedule[q], words, q).
#define SHA256_SCHEDULE(w, schedule, q)                                                      \
  do {                                                                                       \
    if constexpr ((q) < 12) {                                                                \
      (w)[(q) % 4] = NextScheduleWords((w)[(q) % 4], (w)[((q) + 1) % 4], (w)[((q) + 2) % 4], \
                                       (w)[((q) + 3) % 4]);                                  \
      StoreScheduleGroup((schedule)[(q) + 4], (w)[(q) % 4], (q) + 4);                        \
    }                                                                                        \
  } while (0)

// Steps 4q to 4q + 7 with the groups of the schedule sixteen steps ahead.
#define SHA256_EIGHT_STEPS_SCHEDULING(WK, w, schedule, q) \
  SHA256_FOUR_STEPS(WK, q, a, b, c, d, e, f, g, h);       \
  SHA256_SCHEDULE(w, schedule, q);                        \
  SHA256_FOUR_STEPS(WK, (q) + 1, e, f, g, h, a, b, c, d); \
  SHA256_SCHEDULE(w, schedule, (q) + 1)

// Before a block's first step: y is b ^ c, which the first step takes as its b ^ c.
#define SHA256_START_BLOCK() y = b ^ c
