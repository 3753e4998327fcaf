// The SHA-1 compression function of FIPS 180-4, section 6.1.2, with the 16-word message
// schedule of its section 6.1.3 kept in the block itself: the block is overwritten with its
// big-endian words in host order and then with the rolling schedule.
#include <bit>
#include <cstring>

#include "digest/shared/byte_order.h"
#include "digest/sha1/sha1_backend.h"

namespace {

inline uint32_t Choose(uint32_t x, uint32_t y, uint32_t z) {
  return (x & (y ^ z)) ^ z;
}
inline uint32_t Parity(uint32_t x, uint32_t y, uint32_t z) {
  return x ^ y ^ z;
}
inline uint32_t Majority(uint32_t x, uint32_t y, uint32_t z) {
  return (x & y) | (z & (x | y));
}

// Word i of the block, i taken modulo 16: the schedule window.
inline uint32_t LoadWindowWord(const uint8_t* block, int i) {
  uint32_t word;
  std::memcpy(&word, block + 4 * (i & 15), sizeof word);
  return word;
}

inline uint32_t StoreWindowWord(uint8_t* block, int i, uint32_t word) {
  std::memcpy(block + 4 * (i & 15), &word, sizeof word);
  return word;
}

// Schedule words 0 to 15: the message word, converted where it lies.
inline uint32_t ConvertedWord(uint8_t* block, int i) {
  return StoreWindowWord(block, i, LoadBigEndian32(block + 4 * i));
}

// Schedule words 16 to 79 replace word i mod 16 of the window.
inline uint32_t ScheduledWord(uint8_t* block, int i) {
  const uint32_t word = LoadWindowWord(block, i - 3) ^ LoadWindowWord(block, i - 8) ^
                        LoadWindowWord(block, i - 14) ^ LoadWindowWord(block, i - 16);
  return StoreWindowWord(block, i, std::rotl(word, 1));
}

// T = ROTL5(a) + f(b, c, d) + e + K + W; the names rotate from step to step instead of values.
#define SHA1_STEP(FUNCTION, K, a, b, c, d, e, WORD)          \
  do {                                                       \
    e += std::rotl(a, 5) + FUNCTION(b, c, d) + (K) + (WORD); \
    b = std::rotl(b, 30);                                    \
  } while (0)

void Sha1Block(uint32_t state[5], uint8_t* block) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];

  SHA1_STEP(Choose, 0x5a827999, a, b, c, d, e, ConvertedWord(block, 0));
  SHA1_STEP(Choose, 0x5a827999, e, a, b, c, d, ConvertedWord(block, 1));
  SHA1_STEP(Choose, 0x5a827999, d, e, a, b, c, ConvertedWord(block, 2));
  SHA1_STEP(Choose, 0x5a827999, c, d, e, a, b, ConvertedWord(block, 3));
  SHA1_STEP(Choose, 0x5a827999, b, c, d, e, a, ConvertedWord(block, 4));
  SHA1_STEP(Choose, 0x5a827999, a, b, c, d, e, ConvertedWord(block, 5));
  SHA1_STEP(Choose, 0x5a827999, e, a, b, c, d, ConvertedWord(block, 6));
  SHA1_STEP(Choose, 0x5a827999, d, e, a, b, c, ConvertedWord(block, 7));
  SHA1_STEP(Choose, 0x5a827999, c, d, e, a, b, ConvertedWord(block, 8));
  SHA1_STEP(Choose, 0x5a827999, b, c, d, e, a, ConvertedWord(block, 9));
  SHA1_STEP(Choose, 0x5a827999, a, b, c, d, e, ConvertedWord(block, 10));
  SHA1_STEP(Choose, 0x5a827999, e, a, b, c, d, ConvertedWord(block, 11));
  SHA1_STEP(Choose, 0x5a827999, d, e, a, b, c, ConvertedWord(block, 12));
  SHA1_STEP(Choose, 0x5a827999, c, d, e, a, b, ConvertedWord(block, 13));
  SHA1_STEP(Choose, 0x5a827999, b, c, d, e, a, ConvertedWord(block, 14));
  SHA1_STEP(Choose, 0x5a827999, a, b, c, d, e, ConvertedWord(block, 15));
  SHA1_STEP(Choose, 0x5a827999, e, a, b, c, d, ScheduledWord(block, 16));
  SHA1_STEP(Choose, 0x5a827999, d, e, a, b, c, ScheduledWord(block, 17));
  SHA1_STEP(Choose, 0x5a827999, c, d, e, a, b, ScheduledWord(block, 18));
  SHA1_STEP(Choose, 0x5a827999, b, c, d, e, a, ScheduledWord(block, 19));
  SHA1_STEP(Parity, 0x6ed9eba1, a, b, c, d, e, ScheduledWord(block, 20));
  SHA1_STEP(Parity, 0x6ed9eba1, e, a, b, c, d, ScheduledWord(block, 21));
  SHA1_STEP(Parity, 0x6ed9eba1, d, e, a, b, c, ScheduledWord(block, 22));
  SHA1_STEP(Parity, 0x6ed9eba1, c, d, e, a, b, ScheduledWord(block, 23));
  SHA1_STEP(Parity, 0x6ed9eba1, b, c, d, e, a, ScheduledWord(block, 24));
  SHA1_STEP(Parity, 0x6ed9eba1, a, b, c, d, e, ScheduledWord(block, 25));
  SHA1_STEP(Parity, 0x6ed9eba1, e, a, b, c, d, ScheduledWord(block, 26));
  SHA1_STEP(Parity, 0x6ed9eba1, d, e, a, b, c, ScheduledWord(block, 27));
  SHA1_STEP(Parity, 0x6ed9eba1, c, d, e, a, b, ScheduledWord(block, 28));
  SHA1_STEP(Parity, 0x6ed9eba1, b, c, d, e, a, ScheduledWord(block, 29));
  SHA1_STEP(Parity, 0x6ed9eba1, a, b, c, d, e, ScheduledWord(block, 30));
  SHA1_STEP(Parity, 0x6ed9eba1, e, a, b, c, d, ScheduledWord(block, 31));
  SHA1_STEP(Parity, 0x6ed9eba1, d, e, a, b, c, ScheduledWord(block, 32));
  SHA1_STEP(Parity, 0x6ed9eba1, c, d, e, a, b, ScheduledWord(block, 33));
  SHA1_STEP(Parity, 0x6ed9eba1, b, c, d, e, a, ScheduledWord(block, 34));
  SHA1_STEP(Parity, 0x6ed9eba1, a, b, c, d, e, ScheduledWord(block, 35));
  SHA1_STEP(Parity, 0x6ed9eba1, e, a, b, c, d, ScheduledWord(block, 36));
  SHA1_STEP(Parity, 0x6ed9eba1, d, e, a, b, c, ScheduledWord(block, 37));
  SHA1_STEP(Parity, 0x6ed9eba1, c, d, e, a, b, ScheduledWord(block, 38));
  SHA1_STEP(Parity, 0x6ed9eba1, b, c, d, e, a, ScheduledWord(block, 39));
  SHA1_STEP(Majority, 0x8f1bbcdc, a, b, c, d, e, ScheduledWord(block, 40));
  SHA1_STEP(Majority, 0x8f1bbcdc, e, a, b, c, d, ScheduledWord(block, 41));
  SHA1_STEP(Majority, 0x8f1bbcdc, d, e, a, b, c, ScheduledWord(block, 42));
  SHA1_STEP(Majority, 0x8f1bbcdc, c, d, e, a, b, ScheduledWord(block, 43));
  SHA1_STEP(Majority, 0x8f1bbcdc, b, c, d, e, a, ScheduledWord(block, 44));
  SHA1_STEP(Majority, 0x8f1bbcdc, a, b, c, d, e, ScheduledWord(block, 45));
  SHA1_STEP(Majority, 0x8f1bbcdc, e, a, b, c, d, ScheduledWord(block, 46));
  SHA1_STEP(Majority, 0x8f1bbcdc, d, e, a, b, c, ScheduledWord(block, 47));
  SHA1_STEP(Majority, 0x8f1bbcdc, c, d, e, a, b, ScheduledWord(block, 48));
  SHA1_STEP(Majority, 0x8f1bbcdc, b, c, d, e, a, ScheduledWord(block, 49));
  SHA1_STEP(Majority, 0x8f1bbcdc, a, b, c, d, e, ScheduledWord(block, 50));
  SHA1_STEP(Majority, 0x8f1bbcdc, e, a, b, c, d, ScheduledWord(block, 51));
  SHA1_STEP(Majority, 0x8f1bbcdc, d, e, a, b, c, ScheduledWord(block, 52));
  SHA1_STEP(Majority, 0x8f1bbcdc, c, d, e, a, b, ScheduledWord(block, 53));
  SHA1_STEP(Majority, 0x8f1bbcdc, b, c, d, e, a, ScheduledWord(block, 54));
  SHA1_STEP(Majority, 0x8f1bbcdc, a, b, c, d, e, ScheduledWord(block, 55));
  SHA1_STEP(Majority, 0x8f1bbcdc, e, a, b, c, d, ScheduledWord(block, 56));
  SHA1_STEP(Majority, 0x8f1bbcdc, d, e, a, b, c, ScheduledWord(block, 57));
  SHA1_STEP(Majority, 0x8f1bbcdc, c, d, e, a, b, ScheduledWord(block, 58));
  SHA1_STEP(Majority, 0x8f1bbcdc, b, c, d, e, a, ScheduledWord(block, 59));
  SHA1_STEP(Parity, 0xca62c1d6, a, b, c, d, e, ScheduledWord(block, 60));
  SHA1_STEP(Parity, 0xca62c1d6, e, a, b, c, d, ScheduledWord(block, 61));
  SHA1_STEP(Parity, 0xca62c1d6, d, e, a, b, c, ScheduledWord(block, 62));
  SHA1_STEP(Parity, 0xca62c1d6, c, d, e, a, b, ScheduledWord(block, 63));
  SHA1_STEP(Parity, 0xca62c1d6, b, c, d, e, a, ScheduledWord(block, 64));
  SHA1_STEP(Parity, 0xca62c1d6, a, b, c, d, e, ScheduledWord(block, 65));
  SHA1_STEP(Parity, 0xca62c1d6, e, a, b, c, d, ScheduledWord(block, 66));
  SHA1_STEP(Parity, 0xca62c1d6, d, e, a, b, c, ScheduledWord(block, 67));
  SHA1_STEP(Parity, 0xca62c1d6, c, d, e, a, b, ScheduledWord(block, 68));
  SHA1_STEP(Parity, 0xca62c1d6, b, c, d, e, a, ScheduledWord(block, 69));
  SHA1_STEP(Parity, 0xca62c1d6, a, b, c, d, e, ScheduledWord(block, 70));
  SHA1_STEP(Parity, 0xca62c1d6, e, a, b, c, d, ScheduledWord(block, 71));
  SHA1_STEP(Parity, 0xca62c1d6, d, e, a, b, c, ScheduledWord(block, 72));
  SHA1_STEP(Parity, 0xca62c1d6, c, d, e, a, b, ScheduledWord(block, 73));
  SHA1_STEP(Parity, 0xca62c1d6, b, c, d, e, a, ScheduledWord(block, 74));
  SHA1_STEP(Parity, 0xca62c1d6, a, b, c, d, e, ScheduledWord(block, 75));
  SHA1_STEP(Parity, 0xca62c1d6, e, a, b, c, d, ScheduledWord(block, 76));
  SHA1_STEP(Parity, 0xca62c1d6, d, e, a, b, c, ScheduledWord(block, 77));
  SHA1_STEP(Parity, 0xca62c1d6, c, d, e, a, b, ScheduledWord(block, 78));
  SHA1_STEP(Parity, 0xca62c1d6, b, c, d, e, a, ScheduledWord(block, 79));

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

#undef SHA1_STEP

}  // namespace

void Sha1BlocksGeneric(uint32_t state[5], uint8_t* blocks, size_t count) {
  for (size_t i = 0; i < count; ++i) Sha1Block(state, blocks + 64 * i);
}
