#include "tests/digest/backends_under_test.h"

#include "digest/crc32_backend.h"
#include "digest/digest_plugin.h"
#include "digest/keccak_backend.h"
#include "digest/md5_backend.h"
#include "digest/register_digest_plugins.h"
#include "digest/sha1_backend.h"
#include "digest/sha2_backend.h"

namespace {

// Calls visit(list, active) with the algorithm's backend list and the pointer its plugin calls.
template <typename Visit>
auto WithBackends(const TestAlgorithm& algorithm, Visit visit) {
  switch (algorithm.id) {
    case DIGEST_CRC32:
      return visit(CRC32_BACKENDS, crc32Register);
    case DIGEST_MD5:
      return visit(MD5_BACKENDS, md5Blocks);
    case DIGEST_SHA1:
      return visit(SHA1_BACKENDS, sha1Blocks);
    case DIGEST_SHA2:
      if (algorithm.bits <= 256) return visit(SHA256_BACKENDS, sha256Blocks);
      return visit(SHA512_BACKENDS, sha512Blocks);
    default:
      return visit(KECCAK_BACKENDS, keccakAbsorb);
  }
}

std::vector<std::string> BackendNames(const TestAlgorithm& algorithm) {
  return WithBackends(algorithm, [](const auto& list, auto&) {
    std::vector<std::string> names;
    for (const auto& backend : list) names.push_back(backend.name);
    return names;
  });
}

// False when this processor cannot run the backend.
bool UseBackend(const TestAlgorithm& algorithm, const std::string& name) {
  return WithBackends(algorithm, [&](const auto& list, auto& active) {
    for (const auto& backend : list) {
      if (name != backend.name) continue;
      if (!ProcessorRunsBackend(backend)) return false;
      active = backend.blocks;
      return true;
    }
    ADD_FAILURE() << "no backend " << name << " for " << algorithm.name;
    return false;
  });
}

void UseChosenBackend(const TestAlgorithm& algorithm) {
  WithBackends(algorithm, [](const auto& list, auto& active) {
    active = ChooseDigestBackend(list);
    return 0;
  });
}

}  // namespace

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
    for (const std::string& backend : BackendNames(algorithm))
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
  if (!UseBackend(Algorithm(), GetParam().backend)) {
    GTEST_SKIP() << "this processor cannot run the " << GetParam().backend << " backend";
  }
}

void OnBackend::TearDown() { UseChosenBackend(Algorithm()); }
