// The processor classes against the backend lists: pinning a class gives each plugin the first
// backend in its list that a processor of the class runs, registration on this processor chooses
// what its own features predict, and the widest class runs every backend, so that no backend
// escapes the tests and benchmarks of the classes. An engine that kept to the generic code would
// fail all three.
#include <gtest/gtest.h>

#include "digest/backend_selection.h"
#include "digest/register_digest_plugins.h"
#include "tests/digest/backends_under_test.h"
#include "tests/support/processor_classes.h"

namespace {

class OnProcessorClasses : public testing::Test {
 protected:
  void SetUp() override { RegisterDigestPlugins(); }
};

// The backends of the algorithm that a processor with `features` runs, in list order.
std::vector<std::string> BackendsRunOn(const TestAlgorithm& algorithm,
                                       const ProcessorFeatures& features) {
  std::vector<std::string> names;
  for (const std::string& name : DigestBackendNames(algorithm.id, algorithm.bits)) {
    if (ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, name, features))
      names.push_back(name);
  }
  return names;
}

TEST_F(OnProcessorClasses, PinningOneGivesEveryPluginTheFirstBackendTheClassRuns) {
  for (const ProcessorClass& processorClass : ProcessorClasses()) {
    const PinnedProcessorClass pinned(processorClass);
    if (!pinned.Pinned()) continue;  // not a class this processor can stand in for
    for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
      EXPECT_EQ(ActiveDigestBackend(algorithm.id, algorithm.bits),
                BackendsRunOn(algorithm, processorClass.features).front())
          << algorithm.name << " on the " << processorClass.name << " class";
    }
  }
}

TEST_F(OnProcessorClasses, RegistrationChoosesWhatThisProcessorsFeaturesPredict) {
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    EXPECT_EQ(ActiveDigestBackend(algorithm.id, algorithm.bits),
              BackendsRunOn(algorithm, ThisProcessor()).front())
        << algorithm.name;
  }
}

TEST_F(OnProcessorClasses, TheWidestClassRunsEveryBackend) {
  const ProcessorClass& widest = ProcessorClasses().back();
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    EXPECT_EQ(BackendsRunOn(algorithm, widest.features),
              DigestBackendNames(algorithm.id, algorithm.bits))
        << algorithm.name;
  }
}

}  // namespace
