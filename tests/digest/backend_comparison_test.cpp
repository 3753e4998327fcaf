// Every accelerated backend this processor runs against the generic one on 100,000 messages.
#include <gtest/gtest.h>

#include "tests/digest/backend_comparison.h"
#include "tests/digest/backends_under_test.h"

namespace {

constexpr int MESSAGE_COUNT = 100000;

using AgainstGeneric = OnBackend;

TEST_P(AgainstGeneric, RandomMessagesAroundTheEdgesGiveTheSameDigest) {
  ExpectSameDigestsAsGeneric(Algorithm(), GetParam().backend, ThisProcessor(), MESSAGE_COUNT);
}

std::vector<AlgorithmOnBackend> AcceleratedBackends() {
  std::vector<AlgorithmOnBackend> pairs;
  for (const AlgorithmOnBackend& pair : EveryAlgorithmOnEveryBackend()) {
    if (pair.backend != "generic") pairs.push_back(pair);
  }
  return pairs;
}

// A processor of another architecture has no accelerated backends at all.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(AgainstGeneric);
INSTANTIATE_TEST_SUITE_P(Backends, AgainstGeneric, testing::ValuesIn(AcceleratedBackends()),
                         TestNameOf);

}  // namespace
