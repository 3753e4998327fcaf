// The SHA-384/512 compression function of FIPS 180-4, section 6.4.2: the first 16 steps on the
// block's words, the other 64 in unrolled groups of 16 over a rolling 16-word schedule.
#include <bit>

#include "digest/shared/byte_order.h"
#include "digest/sha2/sha2_backend.h"

namespace {

// The functions of section 4.1.3.
inline uint64_t Choose(uint64_t x, uint64_t y, uint64_t z) {
  return (x & (y ^ z)) ^ z;
}
inline uint64_t Majority(uint64_t x, uint64_t y, uint64_t z) {
  return (x & y) | (z & (x | y));
}
inline uint64_t BigSigma0(uint64_t x) {
  return std::rotr(x, 28) ^ std::rotr(x, 34) ^ std::rotr(x, 39);
}
inline uint64_t BigSigma1(uint64_t x) {
  return std::rotr(x, 14) ^ std::rotr(x, 18) ^ std::rotr(x, 41);
}
inline uint64_t SmallSigma0(uint64_t x) {
  return std::rotr(x, 1) ^ std::rotr(x, 8) ^ (x >> 7);
}
inline uint64_t SmallSigma1(uint64_t x) {
  return std::rotr(x, 19) ^ std::rotr(x, 61) ^ (x >> 6);
}

// Schedule word t + 16 takes the place of word t in the window (indices modulo 16).
inline uint64_t NextScheduleWord(uint64_t window[16], int t) {
  window[t] +=
      SmallSigma1(window[(t + 14) & 15]) + window[(t + 9) & 15] + SmallSigma0(window[(t + 1) & 15]);
  return window[t];
}

// Step t; the names rotate from step to step instead of the values.
#define SHA2_STEP(a, b, c, d, e, f, g, h, t, WORD)                                               \
  do {                                                                                           \
    const uint64_t t1 = h + BigSigma1(e) + Choose(e, f, g) + SHA512_ROUND_CONSTANTS[t] + (WORD); \
    d += t1;                                                                                     \
    h = t1 + BigSigma0(a) + Majority(a, b, c);                                                   \
  } while (0)

// Steps base to base + 15, WORD(j) giving the schedule word of step base + j.
#define SIXTEEN_STEPS(WORD, base)                         \
  SHA2_STEP(a, b, c, d, e, f, g, h, base + 0, WORD(0));   \
  SHA2_STEP(h, a, b, c, d, e, f, g, base + 1, WORD(1));   \
  SHA2_STEP(g, h, a, b, c, d, e, f, base + 2, WORD(2));   \
  SHA2_STEP(f, g, h, a, b, c, d, e, base + 3, WORD(3));   \
  SHA2_STEP(e, f, g, h, a, b, c, d, base + 4, WORD(4));   \
  SHA2_STEP(d, e, f, g, h, a, b, c, base + 5, WORD(5));   \
  SHA2_STEP(c, d, e, f, g, h, a, b, base + 6, WORD(6));   \
  SHA2_STEP(b, c, d, e, f, g, h, a, base + 7, WORD(7));   \
  SHA2_STEP(a, b, c, d, e, f, g, h, base + 8, WORD(8));   \
  SHA2_STEP(h, a, b, c, d, e, f, g, base + 9, WORD(9));   \
  SHA2_STEP(g, h, a, b, c, d, e, f, base + 10, WORD(10)); \
  SHA2_STEP(f, g, h, a, b, c, d, e, base + 11, WORD(11)); \
  SHA2_STEP(e, f, g, h, a, b, c, d, base + 12, WORD(12)); \
  SHA2_STEP(d, e, f, g, h, a, b, c, base + 13, WORD(13)); \
  SHA2_STEP(c, d, e, f, g, h, a, b, base + 14, WORD(14)); \
  SHA2_STEP(b, c, d, e, f, g, h, a, base + 15, WORD(15));

#define MESSAGE_WORD(j) (window[j] = LoadBigEndian64(block + sizeof(uint64_t) * (j)))
#define SCHEDULE_WORD(j) NextScheduleWord(window, j)

void Sha512Block(uint64_t state[8], const uint8_t* block) {
  uint64_t window[16];
  uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint64_t e = state[4], f = state[5], g = state[6], h = state[7];

  SIXTEEN_STEPS(MESSAGE_WORD, 0);
  for (int base = 16; base < 80; base += 16) {
    SIXTEEN_STEPS(SCHEDULE_WORD, base);
  }

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
  state[5] += f;
  state[6] += g;
  state[7] += h;
}

#undef SCHEDULE_WORD
#undef MESSAGE_WORD
#undef SIXTEEN_STEPS
#undef SHA2_STEP

}  // namespace

void Sha512BlocksGeneric(uint64_t state[8], const uint8_t* blocks, size_t count) {
  for (size_t i = 0; i < count; ++i) Sha512Block(state, blocks + 128 * i);
}
