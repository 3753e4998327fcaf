#include "tests/digest/backends_under_test.h"

#include "digest/backend_selection.h"
#include "digest/digest_plugin.h"
#include "digest/register_digest_plugins.h"

const std::vector<TestAlgorithm>& AllTestAlgorithms() {
  static const std::vector<TestAlgorithm> algorithms = {
      {"Crc32", DIGEST_CRC32, 0, 1},       {"Md5", DIGEST_MD5, 0, 64},
      {"Sha1", DIGEST_SHA1, 0, 64},        {"Sha224", DIGEST_SHA2, 224, 64},
      {"Sha256", DIGEST_SHA2, 256, 64},    {"Sha384", DIGEST_SHA2, 384, 128},
      {"Sha512", DIGEST_SHA2, 512, 128},   {"Sha3_224", DIGEST_SHA3, 224, 144},
      {"Sha3_256", DIGEST_SHA3, 256, 136}, {"Sha3_384", DIGEST_SHA3, 384, 104},
      {"Sha3_512", DIGEST_SHA3, 512, 72},
  };
  return algorithms;
}

std::vector<AlgorithmOnBackend> EveryAlgorithmOnEveryBackend() {
  std::vector<AlgorithmOnBackend> pairs;
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    for (const std::string& backend : DigestBackendNames(algorithm.id, algorithm.bits))
      pairs.push_back({algorithm, backend});
  }
  return pairs;
}

void PrintTo(const AlgorithmOnBackend& pair, std::ostream* out) {
  *out << pair.algorithm.name << " on the " << pair.backend << " backend";
}

std::string TestNameOf(const testing::TestParamInfo<AlgorithmOnBackend>& info) {
  return std::string(info.param.algorithm.name) + "_" + info.param.backend;
}

void OnBackend::SetUp() {
  RegisterDigestPlugins();
  if (!UseDigestBackend(Algorithm().id, Algorithm().bits, GetParam().backend)) {
    GTEST_SKIP() << "this processor cannot run the " << GetParam().backend << " backend";
  }
}

void OnBackend::TearDown() {
  UseChosenDigestBackend(Algorithm().id, Algorithm().bits);
}

ScopedDigestBackend::ScopedDigestBackend(int32_t id, int32_t bits, const std::string& backend)
    : id(id),
      bits(bits),
      before(ActiveDigestBackend(id, bits)),
      inUse(UseDigestBackend(id, bits, backend)) {}

ScopedDigestBackend::~ScopedDigestBackend() {
  UseDigestBackend(id, bits, before);
}
