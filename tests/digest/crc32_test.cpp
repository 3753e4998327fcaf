// CRC-32 known answers and split invariance, against a bit-at-a-time reference (and zlib's crc32
// natively).
#include "digest/crc32/crc32.h"

#include <gtest/gtest.h>

#include <random>

#include "digest/compute_file_digest.h"
#include "tests/support/temp_files.h"

#ifndef _WIN32
#include <zlib.h>
#endif

namespace {

[[maybe_unused]] const int crc32Registered = RegisterCrc32Plugin();

// The definition of CRC-32/ISO-HDLC, one bit at a time.
uint32_t ReferenceCrc32(const uint8_t* data, size_t length) {
  uint32_t reg = 0xFFFFFFFF;
  for (size_t i = 0; i < length; ++i) {
    reg ^= data[i];
    for (int bit = 0; bit < 8; ++bit) reg = (reg >> 1) ^ (0xEDB88320 & (0 - (reg & 1)));
  }
  return ~reg;
}

Text HexOf(uint32_t value) {
  wchar_t buffer[9];
  swprintf(buffer, 9, L"%08x", value);
  return buffer;
}

TEST(Crc32, CheckValueOfTheNineDigits) {
  const std::string digits = "123456789";
  EXPECT_EQ(Crc32Update(reinterpret_cast<const uint8_t*>(digits.data()), 9, 0), 0xCBF43926u);
  EXPECT_EQ(ComputeFileDigest(WriteScratchFile("digits.txt", digits), DIGEST_CRC32), L"cbf43926");
}

TEST(Crc32, EmptyFileGivesEightZeros) {
  EXPECT_EQ(ComputeFileDigest(WriteScratchFile("empty.bin", ""), DIGEST_CRC32), L"00000000");
}

TEST(Crc32, LeadingZerosAreKept) {
  // Search for a short input whose CRC has a zero top byte (about one in 256 does).
  for (uint32_t seed = 0;; ++seed) {
    const std::vector<uint8_t> bytes = RandomBytes(16, seed);
    const uint32_t expected = ReferenceCrc32(bytes.data(), bytes.size());
    if (expected >> 24) continue;
    const Text text = ComputeFileDigest(WriteScratchFile("leading-zero.bin", bytes), DIGEST_CRC32);
    EXPECT_EQ(text, HexOf(expected));
    EXPECT_EQ(text.substr(0, 2), L"00");
    break;
  }
}

TEST(Crc32, BitsArgumentChangesNothing) {
  const Text path = WriteScratchFile("bits.bin", RandomBytes(1000, 7));
  const Text plain = ComputeFileDigest(path, DIGEST_CRC32);
  ASSERT_EQ(plain.size(), 8u);
  for (int32_t bits : {-5, 7, 160, 256, 512})
    EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32, bits), plain);
}

TEST(Crc32, NoDataLeavesTheCrcAlone) {
  EXPECT_EQ(Crc32Update(nullptr, 10, 0x12345678), 0x12345678u);
}

TEST(Crc32, AnySplitAgreesWithTheReference) {
  std::mt19937 generator(2026);
  const std::vector<uint8_t> bytes = RandomBytes(300000, 11);
  const uint32_t expected = ReferenceCrc32(bytes.data(), bytes.size());
#ifndef _WIN32
  EXPECT_EQ(expected, crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
#endif
  EXPECT_EQ(Crc32Update(bytes.data(), static_cast<uint32_t>(bytes.size()), 0), expected);
  for (int round = 0; round < 50; ++round) {
    uint32_t crc = 0;
    size_t done = 0;
    while (done < bytes.size()) {
      const size_t piece = std::min<size_t>(generator() % 5000, bytes.size() - done);
      crc = Crc32Update(bytes.data() + done, static_cast<uint32_t>(piece), crc);
      done += piece;
    }
    ASSERT_EQ(crc, expected) << "round " << round;
  }
}

TEST(Crc32, FileInManyReadsAgreesWithTheReference) {
  const std::vector<uint8_t> bytes = RandomBytes(3 * DIGEST_READ_SIZE + 12345, 5);
  const Text path = WriteScratchFile("three-mebibytes.bin", bytes);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32),
            HexOf(ReferenceCrc32(bytes.data(), bytes.size())));
}

}  // namespace
