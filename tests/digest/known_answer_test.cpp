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

// The vector files of each algorithm, relative to HashVectorFolder(); "" where there is none.
struct VectorFiles {
  std::string shortMessages;
  std::string longMessages;
  std::string monteCarlo;
};

const std::map<std::string, VectorFiles>& FilesByAlgorithm() {
  static const std::map<std::string, VectorFiles> files = {
      {"Md5", {"MD5/rfc-1321.txt", "", ""}},
      {"Sha1", {"SHA1/SHA1ShortMsg.rsp", "SHA1/SHA1LongMsg.rsp", "SHA1/SHA1Monte.rsp"}},
      {"Sha224", {"SHA2/SHA224ShortMsg.rsp", "SHA2/SHA224LongMsg.rsp", "SHA2/SHA224Monte.rsp"}},
      {"Sha256", {"SHA2/SHA256ShortMsg.rsp", "SHA2/SHA256LongMsg.rsp", "SHA2/SHA256Monte.rsp"}},
      {"Sha384", {"SHA2/SHA384ShortMsg.rsp", "SHA2/SHA384LongMsg.rsp", "SHA2/SHA384Monte.rsp"}},
      {"Sha512", {"SHA2/SHA512ShortMsg.rsp", "SHA2/SHA512LongMsg.rsp", "SHA2/SHA512Monte.rsp"}},
      {"Sha3_224", {"SHA3/SHA3_224ShortMsg.rsp", "SHA3/SHA3_224LongMsg.rsp", "SHA3/SHA3_224Monte.rsp"}},
      {"Sha3_256", {"SHA3/SHA3_256ShortMsg.rsp", "SHA3/SHA3_256LongMsg.rsp", "SHA3/SHA3_256Monte.rsp"}},
      {"Sha3_384", {"SHA3/SHA3_384ShortMsg.rsp", "SHA3/SHA3_384LongMsg.rsp", "SHA3/SHA3_384Monte.rsp"}},
      {"Sha3_512", {"SHA3/SHA3_512ShortMsg.rsp", "SHA3/SHA3_512LongMsg.rsp", "SHA3/SHA3_512Monte.rsp"}},
  };
  return files;
}

const VectorFiles* FilesOf(const TestAlgorithm& algorithm) {
  const auto found = FilesByAlgorithm().find(algorithm.name);
  return found == FilesByAlgorithm().end() ? nullptr : &found->second;
}

// The (algorithm, backend) pairs whose algorithm has the file `member` names.
std::vector<AlgorithmOnBackend> PairsWithFile(std::string VectorFiles::*member) {
  std::vector<AlgorithmOnBackend> pairs;
  for (const AlgorithmOnBackend& pair : EveryAlgorithmOnEveryBackend()) {
    const VectorFiles* files = FilesOf(pair.algorithm);
    if (files && !(files->*member).empty()) pairs.push_back(pair);
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
  ExpectMessageVectorsPass(Algorithm(), FilesOf(Algorithm())->shortMessages);
}

INSTANTIATE_TEST_SUITE_P(Standards, ShortMessageVectors,
                         testing::ValuesIn(PairsWithFile(&VectorFiles::shortMessages)), TestNameOf);

TEST_P(MonteCarloVectors, EveryCheckpointGivesTheStandardsDigest) {
  const std::string file = FilesOf(Algorithm())->monteCarlo;
  const MonteCarloFile vectors = ReadMonteCarloFile(HashVectorFolder() / file);
  const bool sha3 = Algorithm().id == DIGEST_SHA3;
  std::vector<uint8_t> seed = vectors.seed;
  for (size_t count = 0; count < vectors.checkpoints.size(); ++count) {
    const Text checkpoint = sha3 ? NextSha3Checkpoint(Algorithm(), seed) : NextSha2Checkpoint(Algorithm(), seed);
    ASSERT_EQ(Utf8FromText(checkpoint), vectors.checkpoints[count]) << file << " COUNT = " << count;
    seed = BytesFromHex(vectors.checkpoints[count]);
  }
}

INSTANTIATE_TEST_SUITE_P(Standards, MonteCarloVectors,
                         testing::ValuesIn(PairsWithFile(&VectorFiles::monteCarlo)), TestNameOf);

#ifndef _WIN32
TEST_P(LongMessageVectors, EveryFeedGivesTheStandardsDigest) {
  ExpectMessageVectorsPass(Algorithm(), FilesOf(Algorithm())->longMessages);
}

INSTANTIATE_TEST_SUITE_P(Standards, LongMessageVectors,
                         testing::ValuesIn(PairsWithFile(&VectorFiles::longMessages)), TestNameOf);
#endif

}  // namespace
