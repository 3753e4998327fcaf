// Keccak-f[1600] of FIPS 202, section 3: 24 rounds of theta, rho and pi, chi and iota on the 25
// lanes. Every lane index is a constant, so that the compiler can keep the lanes in registers.
#include <bit>
#include <cstring>

#include "digest/shared/byte_order.h"
#include "digest/sha3/keccak_backend.h"
#include "digest/sha3/keccak_round_constants.h"

namespace {

// rho and pi as one chain of lane moves: starting from lane 1, the moving lane goes to
// PI_CHAIN[i], rotated left by RHO_OFFSETS[i] (the offsets of section 3.2.2 along pi's path),
// and the lane it displaces moves next.
constexpr int RHO_OFFSETS[24] = {1,  3,  6,  10, 15, 21, 28, 36, 45, 55, 2,  14,
                                 27, 41, 56, 8,  25, 43, 62, 18, 39, 61, 20, 44};
constexpr int PI_CHAIN[24] = {10, 7,  11, 17, 18, 3, 5,  16, 8,  21, 24, 4,
                              15, 23, 19, 13, 12, 2, 20, 14, 22, 9,  6,  1};

#define COLUMN_PARITY(x) (a[x] ^ a[(x) + 5] ^ a[(x) + 10] ^ a[(x) + 15] ^ a[(x) + 20])

// theta: every lane of column x takes in the parities of columns x - 1 and x + 1.
#define THETA_COLUMN(x)                                                             \
  do {                                                                              \
    const uint64_t d = parity[((x) + 4) % 5] ^ std::rotl(parity[((x) + 1) % 5], 1); \
    a[x] ^= d;                                                                      \
    a[(x) + 5] ^= d;                                                                \
    a[(x) + 10] ^= d;                                                               \
    a[(x) + 15] ^= d;                                                               \
    a[(x) + 20] ^= d;                                                               \
  } while (0)

#define RHO_PI_MOVE(i)                                  \
  do {                                                  \
    const uint64_t displaced = a[PI_CHAIN[i]];          \
    a[PI_CHAIN[i]] = std::rotl(moving, RHO_OFFSETS[i]); \
    moving = displaced;                                 \
  } while (0)

// chi on the row that starts at lane y: each lane combines with the next two of its row.
#define CHI_ROW(y)                                              \
  do {                                                          \
    const uint64_t r0 = a[y], r1 = a[(y) + 1], r2 = a[(y) + 2]; \
    const uint64_t r3 = a[(y) + 3], r4 = a[(y) + 4];            \
    a[y] = r0 ^ (~r1 & r2);                                     \
    a[(y) + 1] = r1 ^ (~r2 & r3);                               \
    a[(y) + 2] = r2 ^ (~r3 & r4);                               \
    a[(y) + 3] = r3 ^ (~r4 & r0);                               \
    a[(y) + 4] = r4 ^ (~r0 & r1);                               \
  } while (0)

inline void KeccakRound(uint64_t a[KECCAK_LANES], uint64_t roundConstant) {
  const uint64_t parity[5] = {COLUMN_PARITY(0), COLUMN_PARITY(1), COLUMN_PARITY(2),
                              COLUMN_PARITY(3), COLUMN_PARITY(4)};
  THETA_COLUMN(0);
  THETA_COLUMN(1);
  THETA_COLUMN(2);
  THETA_COLUMN(3);
  THETA_COLUMN(4);

  uint64_t moving = a[1];
  RHO_PI_MOVE(0);
  RHO_PI_MOVE(1);
  RHO_PI_MOVE(2);
  RHO_PI_MOVE(3);
  RHO_PI_MOVE(4);
  RHO_PI_MOVE(5);
  RHO_PI_MOVE(6);
  RHO_PI_MOVE(7);
  RHO_PI_MOVE(8);
  RHO_PI_MOVE(9);
  RHO_PI_MOVE(10);
  RHO_PI_MOVE(11);
  RHO_PI_MOVE(12);
  RHO_PI_MOVE(13);
  RHO_PI_MOVE(14);
  RHO_PI_MOVE(15);
  RHO_PI_MOVE(16);
  RHO_PI_MOVE(17);
  RHO_PI_MOVE(18);
  RHO_PI_MOVE(19);
  RHO_PI_MOVE(20);
  RHO_PI_MOVE(21);
  RHO_PI_MOVE(22);
  RHO_PI_MOVE(23);

  CHI_ROW(0);
  CHI_ROW(5);
  CHI_ROW(10);
  CHI_ROW(15);
  CHI_ROW(20);

  a[0] ^= roundConstant;  // iota
}

#undef CHI_ROW
#undef RHO_PI_MOVE
#undef THETA_COLUMN
#undef COLUMN_PARITY

void KeccakPermutation(uint64_t lanes[KECCAK_LANES]) {
  for (int round = 0; round < KECCAK_ROUNDS; ++round)
    KeccakRound(lanes, KECCAK_ROUND_CONSTANTS[round]);
}

}  // namespace

void KeccakAbsorbGeneric(uint64_t lanes[KECCAK_LANES], const uint8_t* blocks, size_t count,
                         uint32_t rate) {
  const uint32_t laneCount = rate / 8;
  for (size_t i = 0; i < count; ++i, blocks += rate) {
    for (uint32_t lane = 0; lane < laneCount; ++lane) {
      lanes[lane] ^= LoadLittleEndian64(blocks + 8 * lane);
    }
    KeccakPermutation(lanes);
  }
}
