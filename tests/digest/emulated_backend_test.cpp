// The AVX-512 and VPCLMULQDQ backends built on SIMDe's portable intrinsics, which run on any
// x86-64 processor: every machine compares them with the generic code, whether it has AVX-512 or
// not. The backends are the ones the widest class runs and the class below it does not. The
// emulation under the sanitizers is slow, hence a twentieth of the native comparison's messages.
#include <gtest/gtest.h>

#include "digest/backend_selection.h"
#include "digest/register_digest_plugins.h"
#include "tests/digest/backend_comparison.h"
#include "tests/digest/backends_under_test.h"
#include "tests/support/processor_classes.h"

namespace {

constexpr int MESSAGE_COUNT = 5000;

const ProcessorClass& Avx512Class() {
  return *ProcessorClassNamed("avx512");
}

class EmulatedAgainstGeneric : public testing::TestWithParam<AlgorithmOnBackend> {
 protected:
  void SetUp() override { RegisterDigestPlugins(); }
  void TearDown() override {
    UseChosenDigestBackend(GetParam().algorithm.id, GetParam().algorithm.bits);
  }
};

TEST_P(EmulatedAgainstGeneric, RandomMessagesAroundTheEdgesGiveTheSameDigest) {
  ExpectSameDigestsAsGeneric(GetParam().algorithm, GetParam().backend, Avx512Class().features,
                             MESSAGE_COUNT);
}

std::vector<AlgorithmOnBackend> BackendsOnlyTheAvx512ClassRuns() {
  const ProcessorFeatures& below = ProcessorClassNamed("avx2-sha")->features;
  std::vector<AlgorithmOnBackend> pairs;
  for (const AlgorithmOnBackend& pair : EveryAlgorithmOnEveryBackend()) {
    const TestAlgorithm& algorithm = pair.algorithm;
    if (ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, pair.backend,
                                   Avx512Class().features) &&
        !ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, pair.backend, below)) {
      pairs.push_back(pair);
    }
  }
  return pairs;
}

INSTANTIATE_TEST_SUITE_P(Emulated, EmulatedAgainstGeneric,
                         testing::ValuesIn(BackendsOnlyTheAvx512ClassRuns()), TestNameOf);

}  // namespace
