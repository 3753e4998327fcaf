// The processor classes against the backend lists: pinning a class gives each plugin a backend a
// processor of the class runs, registration on this processor chooses one it runs, and the widest
// class runs every backend, so that no backend escapes the tests and benchmarks of the classes.
// Which of the runnable ones is taken is a matter of speed: it must be near the fastest of them on
// a longer run. Every class has backends of its own far faster than the generic code for some
// algorithms (CRC32 above all), so an engine that always took the generic code fails here on any
// processor; the rule itself is tested on made-up timings in backend_choice_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>

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

// The chosen backend's share of the fastest, the best of a few choices: registration times the
// backends for microseconds, and a machine busy with other work (as under a whole test run) can
// mislead one choice. A rule that picks a slow backend does so every time, and fails here.
constexpr int CHOICES = 3;
double BestChoiceShareOfFastest(const TestAlgorithm& algorithm, const ProcessorFeatures& features) {
  double share = ActiveShareOfFastest(algorithm, features);
  for (int choice = 1; choice < CHOICES && share < NEAR_THE_FASTEST; ++choice) {
    UseDigestBackend(algorithm.id, algorithm.bits,
                     DigestBackendChosenOn(algorithm.id, algorithm.bits, features));
    share = std::max(share, ActiveShareOfFastest(algorithm, features));
  }
  return share;
}

TEST_F(OnProcessorClasses, EachClassGetsABackendNearItsFastest) {
  for (const ProcessorClass& processorClass : ProcessorClasses()) {
    const PinnedProcessorClass pinned(processorClass);
    if (!pinned.Pinned()) continue;
    for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
      EXPECT_GE(BestChoiceShareOfFastest(algorithm, processorClass.features), NEAR_THE_FASTEST)
          << algorithm.name << " on the " << processorClass.name
          << " class: " << ActiveDigestBackend(algorithm.id, algorithm.bits);
    }
  }
}

TEST_F(OnProcessorClasses, RegistrationChoosesABackendNearTheFastest) {
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    EXPECT_GE(BestChoiceShareOfFastest(algorithm, ThisProcessor()), NEAR_THE_FASTEST)
        << algorithm.name << ": " << ActiveDigestBackend(algorithm.id, algorithm.bits);
  }
}

TEST_F(OnProcessorClasses, AClassWiderThanThisProcessorGetsOnlyWhatThisOneRuns) {
  // The narrowest class stands in for this processor, the widest is asked about: a backend the
  // stand-in lacks is never taken (and on a narrow processor, never run, which would crash).
  const ProcessorFeatures& narrowest = ProcessorClasses().front().features;
  const ProcessorFeatures& widest = ProcessorClasses().back().features;
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    const std::string chosen =
        DigestBackendChosenOn(algorithm.id, algorithm.bits, widest, narrowest);
    EXPECT_TRUE(ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, chosen, narrowest))
        << algorithm.name << ": " << chosen;
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
