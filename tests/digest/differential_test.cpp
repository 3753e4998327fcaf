// Every digest against an independent implementation, OpenSSL's libcrypto (zlib for CRC32), on
// random messages of every length up to 1,100 bytes and of random lengths up to 3 MB, fed whole
// and in random splits at aligned and odd addresses (the long ones also through a file), and on
// a sparse file past 512 MiB, whose bit count needs more than 32 bits. Natively only: the oracle
// is not part of the Windows build.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "digest/compute_file_digest.h"
#include "digest/digest_plugin.h"
#include "tests/digest/backends_under_test.h"
#include "tests/digest/feed_runner.h"
#include "tests/support/temp_files.h"

namespace {

constexpr unsigned ORACLE_WAYS = FEED_WHOLE | FEED_RANDOM_SPLITS | FEED_UNALIGNED_SPLITS;

// The oracle's streaming interface: CRC32 through zlib, everything else through EVP.
class Oracle {
 public:
  explicit Oracle(const TestAlgorithm& algorithm) {
    static const std::map<std::string, const EVP_MD* (*)()> EVP_DIGESTS = {
        {"Md5", EVP_md5},           {"Sha1", EVP_sha1},         {"Sha224", EVP_sha224},
        {"Sha256", EVP_sha256},     {"Sha384", EVP_sha384},     {"Sha512", EVP_sha512},
        {"Sha3_224", EVP_sha3_224}, {"Sha3_256", EVP_sha3_256}, {"Sha3_384", EVP_sha3_384},
        {"Sha3_512", EVP_sha3_512},
    };
    if (algorithm.id == DIGEST_CRC32) return;
    context = EVP_MD_CTX_new();
    EVP_DigestInit_ex(context, EVP_DIGESTS.at(algorithm.name)(), nullptr);
  }
  ~Oracle() { EVP_MD_CTX_free(context); }

  void Update(const uint8_t* data, size_t length) {
    if (context) {
      EVP_DigestUpdate(context, data, length);
    } else {
      crc = crc32_z(crc, data, length);
    }
  }

  Text Finish() {
    uint8_t digest[EVP_MAX_MD_SIZE];
    unsigned length = 4;
    if (context) {
      EVP_DigestFinal_ex(context, digest, &length);
    } else {
      for (int i = 0; i < 4; ++i) digest[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    }
    Text text;
    for (unsigned i = 0; i < length; ++i) {
      wchar_t pair[3];
      swprintf(pair, 3, L"%02x", digest[i]);
      text += pair;
    }
    return text;
  }

 private:
  EVP_MD_CTX* context = nullptr;
  uLong crc = 0;
};

Text OracleDigest(const TestAlgorithm& algorithm, const std::vector<uint8_t>& message) {
  Oracle oracle(algorithm);
  oracle.Update(message.data(), message.size());
  return oracle.Finish();
}

using AgainstOracle = OnBackend;

// Takes in every padding edge: 55 to 65 bytes and their multiples for the 64-byte blocks, 111 and
// 112 for the 128-byte ones, rate - 1 and rate for each SHA-3 size.
TEST_P(AgainstOracle, EveryLengthUpTo1100Bytes) {
  const std::vector<uint8_t> bytes = RandomBytes(1100, 1);
  for (size_t length = 0; length <= bytes.size(); ++length) {
    const std::vector<uint8_t> message(bytes.begin(), bytes.begin() + static_cast<long>(length));
    ExpectEveryFeedGives(Algorithm(), message, OracleDigest(Algorithm(), message), "random message",
                         ORACLE_WAYS);
    if (HasFailure()) break;
  }
}

TEST_P(AgainstOracle, RandomLengthsUpTo3Megabytes) {
  std::mt19937 random(2);
  for (int round = 0; round < 4; ++round) {
    const std::vector<uint8_t> message = RandomBytes(random() % 3000001, random());
    ExpectEveryFeedGives(Algorithm(), message, OracleDigest(Algorithm(), message), "random message",
                         ORACLE_WAYS | FEED_THROUGH_FILE);
  }
}

INSTANTIATE_TEST_SUITE_P(Oracle, AgainstOracle, testing::ValuesIn(EveryAlgorithmOnEveryBackend()),
                         TestNameOf);

// MD5 and SHA-1 keep the bit count in two 32-bit halves; SHA-256 and SHA-512 in one 64-bit
// byte count.
std::vector<AlgorithmOnBackend> AlgorithmsWithLengthFields() {
  std::vector<AlgorithmOnBackend> pairs;
  for (const AlgorithmOnBackend& pair : EveryAlgorithmOnEveryBackend()) {
    const std::string name = pair.algorithm.name;
    if (name == "Md5" || name == "Sha1" || name == "Sha256" || name == "Sha512")
      pairs.push_back(pair);
  }
  return pairs;
}

// A hole of 512 MiB and 1 MiB, then 1,000 random bytes: 2^32 bits and more.
const Text& SparseFilePast512Mebibytes() {
  static const Text path = [] {
    const std::filesystem::path file = ScratchFolder() / "sparse.bin";
    const std::vector<uint8_t> tail = RandomBytes(1000, 3);
    std::ofstream out(file, std::ios::binary);
    out.seekp((int64_t{512} << 20) + (1 << 20));
    out.write(reinterpret_cast<const char*>(tail.data()),
              static_cast<std::streamsize>(tail.size()));
    return TextFromPath(file);
  }();
  return path;
}

Text OracleDigestOfFile(const TestAlgorithm& algorithm, const Text& path) {
  Oracle oracle(algorithm);
  std::ifstream in(Utf8FromText(path), std::ios::binary);
  std::vector<char> buffer(DIGEST_READ_SIZE);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    oracle.Update(reinterpret_cast<const uint8_t*>(buffer.data()),
                  static_cast<size_t>(in.gcount()));
  }
  return oracle.Finish();
}

using PastFourGibibits = OnBackend;

TEST_P(PastFourGibibits, SparseFileDigestEqualsTheOracles) {
  const Text& path = SparseFilePast512Mebibytes();
  EXPECT_EQ(Utf8FromText(ComputeFileDigest(path, Algorithm().id, Algorithm().bits)),
            Utf8FromText(OracleDigestOfFile(Algorithm(), path)));
}

INSTANTIATE_TEST_SUITE_P(Oracle, PastFourGibibits, testing::ValuesIn(AlgorithmsWithLengthFields()),
                         TestNameOf);

}  // namespace
