// Built for a run under qemu-user on a processor model of the class EMULATED_PROCESSOR_CLASS:
// the detection must find exactly that class's features, and registration choose among the
// backends a processor of the class runs, timing and running them as machine code, and take one
// near the fastest of them.
#include <gtest/gtest.h>

#include "digest/backend_selection.h"
#include "digest/register_digest_plugins.h"
#include "tests/digest/backends_under_test.h"
#include "tests/support/processor_classes.h"

namespace {

TEST(EmulatedProcessor, IsDetectedAsItsClassAndGetsThatClassesBackends) {
  const ProcessorClass* expected = ProcessorClassNamed(EMULATED_PROCESSOR_CLASS);
  ASSERT_NE(expected, nullptr) << EMULATED_PROCESSOR_CLASS;
  EXPECT_EQ(FeatureNames(ThisProcessor()), FeatureNames(expected->features));
  RegisterDigestPlugins();
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    const std::string active = ActiveDigestBackend(algorithm.id, algorithm.bits);
    EXPECT_TRUE(
        ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, active, expected->features))
        << algorithm.name << ": " << active;
    EXPECT_GE(ActiveShareOfFastest(algorithm, expected->features), NEAR_THE_FASTEST)
        << algorithm.name << ": " << active;
  }
}

}  // namespace
