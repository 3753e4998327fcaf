#pragma once
// Keccak-f[1600] for backends that keep each of the 25 lanes in a register of its own: one round
// written out lane by lane from a state A into a state E, so that pi is only a matter of which
// name a lane goes to and a backend alternates KECCAK_ROUND(A, E, ...) and KECCAK_ROUND(E, A, ...).
//
// A lane is named by its row and column: A##ba to A##su, rows b g k m s for y = 0 to 4 and
// columns a e i o u for x = 0 to 4, so that lane i = x + 5y of the state array is
// KECCAK_FOR_EACH_LANE's i-th. The includer defines the lane type KeccakLane and the operations
// KECCAK_XOR(a, b), KECCAK_XOR5(a, b, c, d, e), KECCAK_ROL(a, n) and KECCAK_CHI(a, b, c), which
// is a ^ (~b & c). theta adds to each lane of column x the parity of column x - 1 and the
// parity of column x + 1 rotated by one: KECCAK_THETA_EFFECT(left, right) makes, once a column,
// whatever KECCAK_THETA(a, effect) needs to add both to lane a.
#include "digest/sha3/keccak_round_constants.h"

// M(name, i) for every lane.
// clang-format off
#define KECCAK_FOR_EACH_LANE(M)                                                                \
  M(ba, 0) M(be, 1) M(bi, 2) M(bo, 3) M(bu, 4) M(ga, 5) M(ge, 6) M(gi, 7) M(go, 8) M(gu, 9)    \
  M(ka, 10) M(ke, 11) M(ki, 12) M(ko, 13) M(ku, 14) M(ma, 15) M(me, 16) M(mi, 17) M(mo, 18)    \
  M(mu, 19) M(sa, 20) M(se, 21) M(si, 22) M(so, 23) M(su, 24)
// clang-format on

// chi on the output row y, whose lanes arrive from rho and pi as b0 to b4.
#define KECCAK_OUTPUT_ROW(E, y, b0, b1, b2, b3, b4)                         \
  do {                                                                      \
    const KeccakLane r0 = (b0), r1 = (b1), r2 = (b2), r3 = (b3), r4 = (b4); \
    E##y##a = KECCAK_CHI(r0, r1, r2);                                       \
    E##y##e = KECCAK_CHI(r1, r2, r3);                                       \
    E##y##i = KECCAK_CHI(r2, r3, r4);                                       \
    E##y##o = KECCAK_CHI(r3, r4, r0);                                       \
    E##y##u = KECCAK_CHI(r4, r0, r1);                                       \
  } while (0)

// theta, then rho and pi into the output rows (output lane (x, y) takes input lane
// (3(y - 3x) mod 5, x), rotated by that lane's offset of FIPS 202, section 3.2.2), chi, iota.
#define KECCAK_ROUND(A, E, roundConstant)                                                          \
  do {                                                                                             \
    const KeccakLane ca = KECCAK_XOR5(A##ba, A##ga, A##ka, A##ma, A##sa);                          \
    const KeccakLane ce = KECCAK_XOR5(A##be, A##ge, A##ke, A##me, A##se);                          \
    const KeccakLane ci = KECCAK_XOR5(A##bi, A##gi, A##ki, A##mi, A##si);                          \
    const KeccakLane co = KECCAK_XOR5(A##bo, A##go, A##ko, A##mo, A##so);                          \
    const KeccakLane cu = KECCAK_XOR5(A##bu, A##gu, A##ku, A##mu, A##su);                          \
    const auto thetaA = KECCAK_THETA_EFFECT(cu, ce);                                               \
    const auto thetaE = KECCAK_THETA_EFFECT(ca, ci);                                               \
    const auto thetaI = KECCAK_THETA_EFFECT(ce, co);                                               \
    const auto thetaO = KECCAK_THETA_EFFECT(ci, cu);                                               \
    const auto thetaU = KECCAK_THETA_EFFECT(co, ca);                                               \
    KECCAK_OUTPUT_ROW(                                                                             \
        E, b, KECCAK_THETA(A##ba, thetaA), KECCAK_ROL(KECCAK_THETA(A##ge, thetaE), 44),            \
        KECCAK_ROL(KECCAK_THETA(A##ki, thetaI), 43), KECCAK_ROL(KECCAK_THETA(A##mo, thetaO), 21),  \
        KECCAK_ROL(KECCAK_THETA(A##su, thetaU), 14));                                              \
    E##ba = KECCAK_XOR(E##ba, (roundConstant));                                                    \
    KECCAK_OUTPUT_ROW(                                                                             \
        E, g, KECCAK_ROL(KECCAK_THETA(A##bo, thetaO), 28),                                         \
        KECCAK_ROL(KECCAK_THETA(A##gu, thetaU), 20), KECCAK_ROL(KECCAK_THETA(A##ka, thetaA), 3),   \
        KECCAK_ROL(KECCAK_THETA(A##me, thetaE), 45), KECCAK_ROL(KECCAK_THETA(A##si, thetaI), 61)); \
    KECCAK_OUTPUT_ROW(                                                                             \
        E, k, KECCAK_ROL(KECCAK_THETA(A##be, thetaE), 1),                                          \
        KECCAK_ROL(KECCAK_THETA(A##gi, thetaI), 6), KECCAK_ROL(KECCAK_THETA(A##ko, thetaO), 25),   \
        KECCAK_ROL(KECCAK_THETA(A##mu, thetaU), 8), KECCAK_ROL(KECCAK_THETA(A##sa, thetaA), 18));  \
    KECCAK_OUTPUT_ROW(                                                                             \
        E, m, KECCAK_ROL(KECCAK_THETA(A##bu, thetaU), 27),                                         \
        KECCAK_ROL(KECCAK_THETA(A##ga, thetaA), 36), KECCAK_ROL(KECCAK_THETA(A##ke, thetaE), 10),  \
        KECCAK_ROL(KECCAK_THETA(A##mi, thetaI), 15), KECCAK_ROL(KECCAK_THETA(A##so, thetaO), 56)); \
    KECCAK_OUTPUT_ROW(                                                                             \
        E, s, KECCAK_ROL(KECCAK_THETA(A##bi, thetaI), 62),                                         \
        KECCAK_ROL(KECCAK_THETA(A##go, thetaO), 55), KECCAK_ROL(KECCAK_THETA(A##ku, thetaU), 39),  \
        KECCAK_ROL(KECCAK_THETA(A##ma, thetaA), 41), KECCAK_ROL(KECCAK_THETA(A##se, thetaE), 2));  \
  } while (0)
