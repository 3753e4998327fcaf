#pragma once
// SHA-1 steps in general-purpose registers, for the backends that compute the message schedule
// in vector registers and leave W + K of every step in memory. The includer's target attribute
// decides the instructions: under BMI2 each rotation is a RORX, which leaves its source intact,
// and under BMI1 ~x & z is an ANDN. The includer names its working variables a to e.
#include <bit>
#include <cstdint>

// K of FIPS 180-4, section 4.2.1, one for each twenty steps.
inline constexpr uint32_t SHA1_ROUND_CONSTANTS[4] = {0x5a827999, 0x6ed9eba1, 0x8f1bbcdc,
                                                     0xca62c1d6};

// The functions of section 4.1.1; Ch and Maj as sums of two parts that share no bit. x, the
// step's b, is the last working variable to arrive, so Parity and Maj take it in one operation
// only, after what y and z give alone.
inline uint32_t Sha1Choose(uint32_t x, uint32_t y, uint32_t z) {
  return (x & y) + (~x & z);
}
inline uint32_t Sha1Parity(uint32_t x, uint32_t y, uint32_t z) {
  return x ^ (y ^ z);
}
inline uint32_t Sha1Majority(uint32_t x, uint32_t y, uint32_t z) {
  return (y & z) + (x & (y ^ z));
}

// T = ROTL5(a) + f(b, c, d) + e + K + W, with W + K `wk`; the names rotate from step to step
// instead of the values.
#define SHA1_STEP(FUNCTION, a, b, c, d, e, wk)       \
  do {                                               \
    e += (wk) + FUNCTION(b, c, d) + std::rotl(a, 5); \
    b = std::rotl(b, 30);                            \
  } while (0)

// Steps 4p to 4p + 3, the working variables' names rotated by p; WK(p, i) is W + K of step
// 4p + i.
#define SHA1_FOUR_STEPS(FUNCTION, WK, p, a, b, c, d, e) \
  SHA1_STEP(FUNCTION, a, b, c, d, e, WK(p, 0));         \
  SHA1_STEP(FUNCTION, e, a, b, c, d, WK(p, 1));         \
  SHA1_STEP(FUNCTION, d, e, a, b, c, WK(p, 2));         \
  SHA1_STEP(FUNCTION, c, d, e, a, b, WK(p, 3))

// Steps 4p to 4p + 19, after which the names are back where they started; SCHEDULE(p) runs
// after the steps of each group p.
#define SHA1_TWENTY_STEPS(FUNCTION, WK, p, SCHEDULE)     \
  SHA1_FOUR_STEPS(FUNCTION, WK, p, a, b, c, d, e);       \
  SCHEDULE(p);                                           \
  SHA1_FOUR_STEPS(FUNCTION, WK, (p) + 1, b, c, d, e, a); \
  SCHEDULE((p) + 1);                                     \
  SHA1_FOUR_STEPS(FUNCTION, WK, (p) + 2, c, d, e, a, b); \
  SCHEDULE((p) + 2);                                     \
  SHA1_FOUR_STEPS(FUNCTION, WK, (p) + 3, d, e, a, b, c); \
  SCHEDULE((p) + 3);                                     \
  SHA1_FOUR_STEPS(FUNCTION, WK, (p) + 4, e, a, b, c, d); \
  SCHEDULE((p) + 4)

// The eighty steps of a block, SCHEDULE(p) after the steps of each group p.
#define SHA1_EIGHTY_STEPS(WK, SCHEDULE)              \
  SHA1_TWENTY_STEPS(Sha1Choose, WK, 0, SCHEDULE);    \
  SHA1_TWENTY_STEPS(Sha1Parity, WK, 5, SCHEDULE);    \
  SHA1_TWENTY_STEPS(Sha1Majority, WK, 10, SCHEDULE); \
  SHA1_TWENTY_STEPS(Sha1Parity, WK, 15, SCHEDULE)

// Group p + 4 of the message schedule, four groups ahead of the steps that take it, as far as
// there are groups left. The window `w` holds the last eight groups, slot p % 8 for group p; the
// includer defines EarlyScheduleWords for groups 4 to 7 (from groups p - 4 to p - 1),
// LateScheduleWords for the others (from groups p - 8, p - 7, p - 4, p - 2 and p - 1) and
// StoreScheduleGroup(schedule[p], words, p).
#define SHA1_SCHEDULE(w, schedule, p)                                                             \
  do {                                                                                            \
    constexpr int NEXT = (p) + 4;                                                                 \
    if constexpr (NEXT < 8) {                                                                     \
      (w)[NEXT] = EarlyScheduleWords((w)[NEXT - 4], (w)[NEXT - 3], (w)[NEXT - 2], (w)[NEXT - 1]); \
    } else if constexpr (NEXT < 20) {                                                             \
      (w)[NEXT % 8] = LateScheduleWords((w)[NEXT % 8], (w)[(NEXT + 1) % 8], (w)[(NEXT + 4) % 8],  \
                                        (w)[(NEXT + 6) % 8], (w)[(NEXT + 7) % 8]);                \
    }                                                                                             \
    if constexpr (NEXT < 20) StoreScheduleGroup((schedule)[NEXT], (w)[NEXT % 8], NEXT);           \
  } while (0)
