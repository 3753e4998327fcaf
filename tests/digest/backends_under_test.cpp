#include "tests/digest/backends_under_test.h"

#include <algorithm>
#include <chrono>
#include <cmath>

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

namespace {

constexpr size_t RUN_BYTES = 256 * 1024;
constexpr int RUNS = 3;

// Seconds of one run of the plugin, with the backend it calls now, over `bytes`.
double RunSeconds(const TestAlgorithm& algorithm, std::vector<uint8_t>& bytes) {
  const DigestPlugin* plugin = FindDigestPlugin(algorithm.id);
  DigestContext* context = plugin->create(algorithm.bits, 0);
  const auto start = std::chrono::steady_clock::now();
  plugin->update(context, bytes.data(), bytes.size());
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  plugin->finish(context);
  plugin->free(context);
  return seconds.count();
}

}  // namespace

double ActiveShareOfFastest(const TestAlgorithm& algorithm, const ProcessorFeatures& features) {
  const std::string active = ActiveDigestBackend(algorithm.id, algorithm.bits);
  std::vector<std::string> backends;
  for (const std::string& name : DigestBackendNames(algorithm.id, algorithm.bits)) {
    if (ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, name, features) &&
        ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, name)) {
      backends.push_back(name);
    }
  }
  std::vector<uint8_t> bytes(RUN_BYTES);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 131 + 7);
  std::vector<double> best(backends.size(), HUGE_VAL);
  double activeBest = HUGE_VAL;
  for (int run = 0; run < RUNS; ++run) {
    for (size_t i = 0; i < backends.size(); ++i) {
      const ScopedDigestBackend pinned(algorithm.id, algorithm.bits, backends[i]);
      best[i] = std::min(best[i], RunSeconds(algorithm, bytes));
    }
    activeBest = std::min(activeBest, RunSeconds(algorithm, bytes));
  }
  return *std::min_element(best.begin(), best.end()) / activeBest;
}
