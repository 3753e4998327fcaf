// The SHA-224/256 compression function of FIPS 180-4, section 6.2.2: the first 16 steps on the
// block's words, the other 48 in unrolled groups of 16 over a rolling 16-word schedule.
#include <bit>

#include "digest/shared/byte_order.h"
#include "digest/sha2/sha2_backend.h"

namespace {

// The functions of section 4.1.2.
inline uint32_t Choose(uint32_t x, uint32_t y, uint32_t z) {
  return (x & (y ^ z)) ^ z;
}
inline uint32_t Majority(uint32_t x, uint32_t y, uint32_t z) {
  return (x & y) | (z & (x | y));
}
inline uint32_t BigSigma0(uint32_t x) {
  return std::rotr(x, 2) ^ std::rotr(x, 13) ^ std::rotr(x, 22);
}
inline uint32_t BigSigma1(uint32_t x) {
  return std::rotr(x, 6) ^ std::rotr(x, 11) ^ std::rotr(x, 25);
}
inline uint32_t SmallSigma0(uint32_t x) {
  return std::rotr(x, 7) ^ std::rotr(x, 18) ^ (x >> 3);
}
inline uint32_t SmallSigma1(uint32_t x) {
  return std::rotr(x, 17) ^ std::rotr(x, 19) ^ (x >> 10);
}

// Schedule word t + 16 takes the place of word t in the window (indices modulo 16).
inline uint32_t NextScheduleWord(uint32_t window[16], int t) {
  window[t] +=
      SmallSigma1(window[(t + 14) & 15]) + window[(t + 9) & 15] + SmallSigma0(window[(t + 1) & 15]);
  return window[t];
}

// Step t; the names rotate from step to step instead of the values.
#define SHA2_STEP(a, b, c, d, e, f, g, h, t, WORD)                                               \
  do {                                                                                           \
    const uint32_t t1 = h + BigSigma1(e) + Choose(e, f, g) + SHA256_ROUND_CONSTANTS[t] + (WORD); \
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

#define MESSAGE_WORD(j) (window[j] = LoadBigEndian32(block + sizeof(uint32_t) * (j)))
#define SCHEDULE_WORD(j) NextScheduleWord(window, j)

void Sha256Block(uint32_t state[8], const uint8_t* block) {
  uint32_t window[16];
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];

  SIXTEEN_STEPS(MESSAGE_WORD, 0);
  for (int base = 16; base < 64; base += 16) {
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

void Sha256BlocksGeneric(uint32_t state[8], const uint8_t* blocks, size_t count) {
  for (size_t i = 0; i < count; ++i) Sha256Block(state, blocks + 64 * i);
}
