// Known answers of the standards, through every way of feeding and once per backend: the NIST
// CAVP byte-oriented ShortMsg, LongMsg and Monte Carlo files (FIPS 180-4 for SHA-1 and SHA-2,
// FIPS 202 for SHA-3) and the test suite of RFC 1321 (appendix A.5) for MD5. Under Wine the long
// messages are left to the native run.
#include <gtest/gtest.h>

#include <map>

#include "digest/digest_plugin.h"
#include "tests/digest/backends_under_test.h"
#include "tests/digest/feed_runner.h"
#include "tests/digest/hash_vectors.h"

namespace {

constexpr char RFC_1321_SUITE[] = "MD5/rfc-1321.txt";

// Where each algorithm's CAVP files begin, relative to HashVectorFolder(): the prefix of
// ShortMsg.rsp, LongMsg.rsp and Monte.rsp.
const std::map<std::string, std::string>& CavpPrefixes() {
  static const std::map<std::string, std::string> prefixes = {
      {"Sha1", "SHA1/SHA1"},         {"Sha224", "SHA2/SHA224"},     {"Sha256", "SHA2/SHA256"},
      {"Sha384", "SHA2/SHA384"},     {"Sha512", "SHA2/SHA512"},     {"Sha3_224", "SHA3/SHA3_224"},
      {"Sha3_256", "SHA3/SHA3_256"}, {"Sha3_384", "SHA3/SHA3_384"}, {"Sha3_512", "SHA3/SHA3_512"},
  };
  return prefixes;
}

std::string CavpFile(const TestAlgorithm& algorithm, const std::string& kind) {
  return CavpPrefixes().at(algorithm.name) + kind + ".rsp";
}

// The (algorithm, backend) pairs with CAVP files, and MD5's too when `withMd5` is set.
std::vector<AlgorithmOnBackend> PairsWithVectors(bool withMd5) {
  std::vector<AlgorithmOnBackend> pairs;
  for (const AlgorithmOnBackend& pair : EveryAlgorithmOnEveryBackend()) {
    const bool md5 = pair.algorithm.id == DIGEST_MD5;
    if (CavpPrefixes().count(pair.algorithm.name) || (md5 && withMd5)) pairs.push_back(pair);
  }
  return pairs;
}

void ExpectMessageVectorsPass(const TestAlgorithm& algorithm, const std::string& file) {
  for (const MessageVector& vector : ReadMessageVectors(HashVectorFolder() / file)) {
    ExpectEveryFeedGives(algorithm, vector.message, TextFromUtf8(vector.digest),
                         file + ":" + std::to_string(vector.line));
  }
}

// The SHAVS Monte Carlo step for SHA-1 and SHA-2: 1,000 digests, each of the last three joined.
Text NextSha2Checkpoint(const TestAlgorithm& algorithm, const std::vector<uint8_t>& seed) {
  std::vector<uint8_t> older = seed, old = seed, last = seed;
  Text lastText;
  for (int i = 3; i <= 1002; ++i) {
    std::vector<uint8_t> message = older;
    message.insert(message.end(), old.begin(), old.end());
    message.insert(message.end(), last.begin(), last.end());
    lastText = DigestOf(algorithm, message.data(), message.size());
    older = std::move(old);
    old = std::move(last);
    last = BytesFromHex(Utf8FromText(lastText));
  }
  return lastText;
}

// The SHA3VS Monte Carlo step: 1,000 digests, each of the one before.
Text NextSha3Checkpoint(const TestAlgorithm& algorithm, const std::vector<uint8_t>& seed) {
  std::vector<uint8_t> last = seed;
  Text lastText;
  for (int i = 1; i <= 1000; ++i) {
    lastText = DigestOf(algorithm, last.data(), last.size());
    last = BytesFromHex(Utf8FromText(lastText));
  }
  return lastText;
}

using ShortMessageVectors = OnBackend;
using LongMessageVectors = OnBackend;
using MonteCarloVectors = OnBackend;

TEST_P(ShortMessageVectors, EveryFeedGivesTheStandardsDigest) {
  const bool md5 = Algorithm().id == DIGEST_MD5;
  ExpectMessageVectorsPass(Algorithm(), md5 ? RFC_1321_SUITE : CavpFile(Algorithm(), "ShortMsg"));
}

INSTANTIATE_TEST_SUITE_P(Standards, ShortMessageVectors, testing::ValuesIn(PairsWithVectors(true)),
                         TestNameOf);

TEST_P(MonteCarloVectors, EveryCheckpointGivesTheStandardsDigest) {
  const std::string file = CavpFile(Algorithm(), "Monte");
  const MonteCarloFile vectors = ReadMonteCarloFile(HashVectorFolder() / file);
  const bool sha3 = Algorithm().id == DIGEST_SHA3;
  std::vector<uint8_t> seed = vectors.seed;
  for (size_t count = 0; count < vectors.checkpoints.size(); ++count) {
    const Text checkpoint =
        sha3 ? NextSha3Checkpoint(Algorithm(), seed) : NextSha2Checkpoint(Algorithm(), seed);
    ASSERT_EQ(Utf8FromText(checkpoint), vectors.checkpoints[count]) << file << " COUNT = " << count;
    seed = BytesFromHex(vectors.checkpoints[count]);
  }
}

INSTANTIATE_TEST_SUITE_P(Standards, MonteCarloVectors, testing::ValuesIn(PairsWithVectors(false)),
                         TestNameOf);

#ifndef _WIN32
TEST_P(LongMessageVectors, EveryFeedGivesTheStandardsDigest) {
  ExpectMessageVectorsPass(Algorithm(), CavpFile(Algorithm(), "LongMsg"));
}

INSTANTIATE_TEST_SUITE_P(Standards, LongMessageVectors, testing::ValuesIn(PairsWithVectors(false)),
                         TestNameOf);
#endif

}  // namespace
