// MD5 in general-purpose registers, ordered for the chain of dependent steps rather than for
// reading: a step must wait for b, the previous step's result, so everything that does not need
// b is done before it arrives. The message word and step constant of a step are added to a as
// soon as the step four back has made it, and G's term that does not involve b is added with
// them, since G(b, c, d) = (b & d) | (c & ~d) has two terms that never overlap and may as well be
// added. That leaves four dependent operations after b for G and H and five for F and I.
#include <array>
#include <bit>

#include "digest/md5/md5_backend.h"
#include "digest/shared/byte_order.h"
#include "digest/shared/compiler_barriers.h"

#if DIGEST_X86_64_BACKENDS

namespace {

// The message word each step takes (RFC 1321, section 3.4): word (first + stride * i) mod 16 for
// step i of a round.
constexpr std::array<int, 64> MESSAGE_WORD = [] {
  constexpr int FIRST[4] = {0, 1, 5, 0}, STRIDE[4] = {1, 5, 3, 7};
  std::array<int, 64> word{};
  for (int step = 0; step < 64; ++step) {
    const int round = step / 16;
    word[step] = (FIRST[round] + STRIDE[round] * (step % 16)) % 16;
  }
  return word;
}();

// Message word plus step constant of step `STEP`; nothing after the last step.
template <int STEP>
inline uint32_t Addend(const uint8_t* block) {
  if constexpr (STEP < 64) {
    return LoadLittleEndian32(block + 4 * MESSAGE_WORD[STEP]) + MD5_STEP_CONSTANTS[STEP];
  } else {
    return 0;
  }
}

// a + FUNCTION(b, c, d), for an a that already holds its addend. Sums with an addend are
// settled: the compiler would fold later additions into them, putting those back on the chain
// from b.
inline uint32_t AddF(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return a + (((c ^ d) & b) ^ d);
}
inline uint32_t AddG(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return Settled(a + (c & ~d)) + (b & d);
}
inline uint32_t AddH(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return a + ((c ^ d) ^ b);
}
inline uint32_t AddI(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return a + ((b | ~d) ^ c);
}

// a = b + ((a + FUNCTION(b, c, d) + x + t) <<< s), where a arrives with x + t added. d is the
// next step's a: it takes that step's addend now, while this step waits for b.
#define MD5_STEP(ADD, a, b, c, d, step, s)                         \
  do {                                                             \
    const uint32_t nextA = Settled(d + Addend<(step) + 1>(block)); \
    a = b + std::rotl(ADD(a, b, c, d), s);                         \
    d = nextA;                                                     \
  } while (0)

#define MD5_FOUR_STEPS(ADD, step, s0, s1, s2, s3) \
  MD5_STEP(ADD, a, b, c, d, step, s0);            \
  MD5_STEP(ADD, d, a, b, c, step + 1, s1);        \
  MD5_STEP(ADD, c, d, a, b, step + 2, s2);        \
  MD5_STEP(ADD, b, c, d, a, step + 3, s3)

}  // namespace

void Md5BlocksX86_64(uint32_t state[4], const uint8_t* blocks, size_t count) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* block = blocks + 64 * i;
    const uint32_t aBefore = a, bBefore = b, cBefore = c, dBefore = d;
    a = Settled(a + Addend<0>(block));

    MD5_FOUR_STEPS(AddF, 0, 7, 12, 17, 22);
    MD5_FOUR_STEPS(AddF, 4, 7, 12, 17, 22);
    MD5_FOUR_STEPS(AddF, 8, 7, 12, 17, 22);
    MD5_FOUR_STEPS(AddF, 12, 7, 12, 17, 22);
    MD5_FOUR_STEPS(AddG, 16, 5, 9, 14, 20);
    MD5_FOUR_STEPS(AddG, 20, 5, 9, 14, 20);
    MD5_FOUR_STEPS(AddG, 24, 5, 9, 14, 20);
    MD5_FOUR_STEPS(AddG, 28, 5, 9, 14, 20);
    MD5_FOUR_STEPS(AddH, 32, 4, 11, 16, 23);
    MD5_FOUR_STEPS(AddH, 36, 4, 11, 16, 23);
    MD5_FOUR_STEPS(AddH, 40, 4, 11, 16, 23);
    MD5_FOUR_STEPS(AddH, 44, 4, 11, 16, 23);
    MD5_FOUR_STEPS(AddI, 48, 6, 10, 15, 21);
    MD5_FOUR_STEPS(AddI, 52, 6, 10, 15, 21);
    MD5_FOUR_STEPS(AddI, 56, 6, 10, 15, 21);
    MD5_FOUR_STEPS(AddI, 60, 6, 10, 15, 21);

    a += aBefore;
    b += bBefore;
    c += cBefore;
    d += dBefore;
  }
  state[0] = a;
  state[1] = b;
  state[2] = c;
  state[3] = d;
}

#undef MD5_FOUR_STEPS
#undef MD5_STEP

#endif
