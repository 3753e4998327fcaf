#pragma once
// Keccak-f[1600]'s number of rounds and round constants, for every backend: derived from the
// LFSR of FIPS 202 as the standard defines them, rather than copied as a table.
#include <array>
#include <cstdint>

constexpr int KECCAK_ROUNDS = 24;

// Bit t of the LFSR of FIPS 202, section 3.2.5 (algorithm 5, rc), x^8 + x^6 + x^5 + x^4 + 1.
constexpr bool KeccakLfsrBit(int t) {
  uint32_t r = 1;
  for (int i = 0; i < t % 255; ++i) r = ((r << 1) ^ ((r >> 7) * 0x71)) & 0xFF;
  return r & 1;
}

// RC of round ir (algorithm 6): bit 2^j - 1 is rc(j + 7 ir).
constexpr uint64_t KeccakRoundConstant(int round) {
  uint64_t constant = 0;
  for (int j = 0; j < 7; ++j) {
    if (KeccakLfsrBit(j + 7 * round)) constant |= uint64_t{1} << ((1 << j) - 1);
  }
  return constant;
}

// RC of every round, first round first.
inline constexpr std::array<uint64_t, KECCAK_ROUNDS> KECCAK_ROUND_CONSTANTS = [] {
  std::array<uint64_t, KECCAK_ROUNDS> constants{};
  for (int round = 0; round < KECCAK_ROUNDS; ++round) constants[round] = KeccakRoundConstant(round);
  return constants;
}();
static_assert(KECCAK_ROUND_CONSTANTS[0] == 0x0000000000000001 &&
              KECCAK_ROUND_CONSTANTS[23] == 0x8000000080008008);
