#pragma once
// The steps of SHA-384/512 (FIPS 180-4, section 6.4.2) in general-purpose registers, for the
// backends that build the message schedule in vector registers and store each W + K for its step
// to load. The includer names the working variables a to h and one more word, bxc = b ^ c before
// the first step, and chooses the step that suits its processor.
#include <bit>
#include <cstdint>

#include "digest/shared/add_into_state.h"
#include "digest/shared/compiler_barriers.h"

// The functions of section 4.1.3 on the working variables.
inline uint64_t Sha512BigSigma0(uint64_t x) {
  return std::rotr(x, 28) ^ std::rotr(x, 34) ^ std::rotr(x, 39);
}

inline uint64_t Sha512BigSigma1(uint64_t x) {
  return std::rotr(x, 14) ^ std::rotr(x, 18) ^ std::rotr(x, 41);
}

// One step, `wk` its W + K, in the fewest operations: for processors without BMI, where every
// rotation costs a move to keep its source and ~e & g two operations. Ch(e, f, g) is
// ((f ^ g) & e) ^ g; Maj(a, b, c) = ((a ^ b) & (b ^ c)) ^ b keeps a ^ b in bxc as the next step's
// b ^ c.
#define SHA512_STEP_FEWEST_OPERATIONS(a, b, c, d, e, f, g, h, wk) \
  do {                                                            \
    h += (wk) + ((((f) ^ (g)) & (e)) ^ (g)) + Sha512BigSigma1(e); \
    d += h;                                                       \
    const uint64_t ab = (a) ^ (b);                                \
    h += Sha512BigSigma0(a) + ((ab & bxc) ^ (b));                 \
    bxc = ab;                                                     \
  } while (0)

// The same step with a shorter chain, for processors with BMI: the new e, d + T1 with
// T1 = h + W + K + Ch(e, f, g) + Sigma1(e), is summed in that order, so that from e to the new e
// there are only Sigma1 and one addition. T1 is taken back out of it for the new a,
// T1 + Maj(a, b, c) + Sigma0(a), negated: the old d less the new e, which the old d's register
// takes without a copy. Ch is the sum of two disjoint parts, one of them ANDN's.
#define SHA512_STEP_SHORT_CHAIN(a, b, c, d, e, f, g, h, wk) \
  do {                                                      \
    h += (wk);                                              \
    uint64_t minusT1 = d;                                   \
    d += h;                                                 \
    d = Settled(d);                                         \
    d += ~(e) & (g);                                        \
    d = Settled(d);                                         \
    d += (e) & (f);                                         \
    d = Settled(d);                                         \
    d += Sha512BigSigma1(e);                                \
    const uint64_t ab = (a) ^ (b);                          \
    minusT1 -= d;                                           \
    minusT1 = Settled(minusT1);                             \
    h = ((ab & bxc) ^ (b)) - minusT1;                       \
    h = Settled(h);                                         \
    h += Sha512BigSigma0(a);                                \
    bxc = ab;                                               \
  } while (0)

// Steps t to t + 15 (t a multiple of 16) as STEP, the names turning twice round. W + K of step
// t + i is WK(t, i); BETWEEN(t, i) after steps t + i and t + i + 1 lets the schedule of later
// steps run beside them.
#define SHA512_SIXTEEN_STEPS(t, STEP, WK, BETWEEN) \
  STEP(a, b, c, d, e, f, g, h, WK(t, 0));          \
  STEP(h, a, b, c, d, e, f, g, WK(t, 1));          \
  BETWEEN(t, 0);                                   \
  STEP(g, h, a, b, c, d, e, f, WK(t, 2));          \
  STEP(f, g, h, a, b, c, d, e, WK(t, 3));          \
  BETWEEN(t, 2);                                   \
  STEP(e, f, g, h, a, b, c, d, WK(t, 4));          \
  STEP(d, e, f, g, h, a, b, c, WK(t, 5));          \
  BETWEEN(t, 4);                                   \
  STEP(c, d, e, f, g, h, a, b, WK(t, 6));          \
  STEP(b, c, d, e, f, g, h, a, WK(t, 7));          \
  BETWEEN(t, 6);                                   \
  STEP(a, b, c, d, e, f, g, h, WK(t, 8));          \
  STEP(h, a, b, c, d, e, f, g, WK(t, 9));          \
  BETWEEN(t, 8);                                   \
  STEP(g, h, a, b, c, d, e, f, WK(t, 10));         \
  STEP(f, g, h, a, b, c, d, e, WK(t, 11));         \
  BETWEEN(t, 10);                                  \
  STEP(e, f, g, h, a, b, c, d, WK(t, 12));         \
  STEP(d, e, f, g, h, a, b, c, WK(t, 13));         \
  BETWEEN(t, 12);                                  \
  STEP(c, d, e, f, g, h, a, b, WK(t, 14));         \
  STEP(b, c, d, e, f, g, h, a, WK(t, 15));         \
  BETWEEN(t, 14)

// All 80 steps, written out: a loop would cost moves between registers where it turns.
#define SHA512_EIGHTY_STEPS(STEP, WK, BETWEEN) \
  SHA512_SIXTEEN_STEPS(0, STEP, WK, BETWEEN);  \
  SHA512_SIXTEEN_STEPS(16, STEP, WK, BETWEEN); \
  SHA512_SIXTEEN_STEPS(32, STEP, WK, BETWEEN); \
  SHA512_SIXTEEN_STEPS(48, STEP, WK, BETWEEN); \
  SHA512_SIXTEEN_STEPS(64, STEP, WK, BETWEEN)

// BETWEEN for a schedule window `w` of eight pairs of words, w[k] holding (W[s-16+2k], W[s-15+2k])
// before steps s and s + 1: after steps t + i and t + i + 1, words t + i + 16 and t + i + 17,
// while there are any, replace the pair that held t + i and t + i + 1, made by the includer's
// NextScheduleWords(w0, w1, w4, w5, w7) and stored with W + K by STORE_WK(k, s).
#define SHA512_SCHEDULE_PAIRS(w, STORE_WK, t, i)                                               \
  do {                                                                                         \
    constexpr int k = (i) / 2;                                                                 \
    if constexpr ((t) + (i) + 16 < 80) {                                                       \
      (w)[k] = NextScheduleWords((w)[k], (w)[(k + 1) % 8], (w)[(k + 4) % 8], (w)[(k + 5) % 8], \
                                 (w)[(k + 7) % 8]);                                            \
      STORE_WK(k, (t) + (i) + 16);                                                             \
    }                                                                                          \
  } while (0)
