// The processor classes against the backend lists: pinning a class gives each plugin a backend a
// processor of the class runs, registration on this processor chooses one it runs, and the widest
// class runs every backend, so that no backend escapes the tests and benchmarks of the classes.
// Which of the runnable ones is taken is a matter of speed (backend_choice_test.cpp).
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

// Whether the plugin's backend now is one a processor with `features` runs.
bool ActiveBackendRunsOn(const TestAlgorithm& algorithm, const ProcessorFeatures& features) {
  const std::string active = ActiveDigestBackend(algorithm.id, algorithm.bits);
  return ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, active, features);
}

TEST_F(OnProcessorClasses, PinningOneGivesEveryPluginABackendTheClassRuns) {
  for (const ProcessorClass& processorClass : ProcessorClasses()) {
    const PinnedProcessorClass pinned(processorClass);
    if (!pinned.Pinned()) continue;  // not a class this processor can stand in for
    for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
      EXPECT_TRUE(ActiveBackendRunsOn(algorithm, processorClass.features))
          << algorithm.name << " on the " << processorClass.name
          << " class: " << ActiveDigestBackend(algorithm.id, algorithm.bits);
    }
  }
}

TEST_F(OnProcessorClasses, RegistrationChoosesABackendThisProcessorRuns) {
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    EXPECT_TRUE(ActiveBackendRunsOn(algorithm, ThisProcessor()))
        << algorithm.name << ": " << ActiveDigestBackend(algorithm.id, algorithm.bits);
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
