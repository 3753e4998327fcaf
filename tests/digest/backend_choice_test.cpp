// The choice of a backend by speed, on timings made up here: the list's order stands unless a
// later backend the processor runs is faster by more than the margin, a backend the processor
// cannot run is never timed or taken, and each candidate is judged by its best round. An engine
// that took the first runnable backend fails the cases where a later one is clearly faster.
// Then the same choice on this processor's clock, over made-up backends of known cost whose
// order is the wrong one: a clock whose passes all look alike, or timing without warming, takes
// the first of them.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "digest/digest_backend.h"

namespace {

struct ChoiceCase {
  const char* what;
  std::vector<CandidateTime> candidates;  // the generic one last
  size_t expected;
};

TEST(BackendChoice, TakesALaterBackendOnlyWhenItIsClearlyFaster) {
  const ChoiceCase cases[] = {
      {"near-equal times keep the list's order", {{true, 100}, {true, 98}, {true, 99}}, 0},
      {"a later one at half the time is taken", {{true, 100}, {true, 50}, {true, 400}}, 1},
      {"each later one is weighed against the one kept",
       {{true, 100}, {true, 96}, {true, 90}, {true, 400}},
       2},
      {"a later one just inside the margin is not", {{true, 100}, {true, 98}, {true, 400}}, 0},
      {"one the processor does not run is passed over", {{false, 10}, {true, 100}, {true, 400}}, 1},
      {"a faster one it does not run is not taken", {{true, 100}, {false, 10}, {true, 400}}, 0},
      {"the generic one when nothing else runs", {{false, 10}, {false, 20}, {true, 400}}, 2},
      {"the generic one too when it is clearly fastest", {{true, 400}, {true, 100}}, 1},
  };
  for (const ChoiceCase& choice : cases) {
    EXPECT_EQ(PickBackendByTime(choice.candidates.data(), choice.candidates.size()),
              choice.expected)
        << choice.what;
  }
}

// Backends numbered 1 to 3; the first needs a feature only wide processors have.
bool NeedsAvx512(const ProcessorFeatures& features) {
  return features.avx512f;
}
constexpr DigestBackend<int> MADE_UP_BACKENDS[] = {
    {"wide", 1, NeedsAvx512},
    {"plain", 2, nullptr},
    {"generic", 3, nullptr},
};

// Made-up ticks of each pass of each backend, in the order the passes are asked for.
class MadeUpTimer {
 public:
  explicit MadeUpTimer(std::map<int, std::vector<double>> passes) : passes(std::move(passes)) {}
  double operator()(int backend, uint8_t*) {
    std::vector<double>& left = passes.at(backend);
    const double ticks = left.empty() ? HUGE_VAL : left.front();
    if (!left.empty()) left.erase(left.begin());
    ++timed[backend];
    return ticks;
  }
  std::map<int, std::vector<double>> passes;
  std::map<int, int> timed;  // passes asked for, by backend
};

ProcessorFeatures Wide() {
  ProcessorFeatures features{};
  features.avx512f = true;
  return features;
}

TEST(BackendChoice, AWideBackendSlowerThanThePlainOneIsPassedOver) {
  // As AMD's Zen 4 runs our AVX-512 MD5: at half the speed of the plain 64-bit code.
  MadeUpTimer timer({{1, {200, 200, 200}}, {2, {100, 100, 100}}, {3, {400}}});
  EXPECT_STREQ(FastestBackendRunOn(MADE_UP_BACKENDS, Wide(), Wide(), std::ref(timer)).name,
               "plain");
  EXPECT_EQ(timer.timed[1], BACKEND_TRIAL_ROUNDS);
  EXPECT_EQ(timer.timed[2], BACKEND_TRIAL_ROUNDS);
}

TEST(BackendChoice, EachBackendIsJudgedByItsBestPass) {
  // The wide one's first passes are slow, as while a core powers up its wide units.
  MadeUpTimer timer({{1, {900, 700, 60}}, {2, {100, 100, 100}}, {3, {400}}});
  EXPECT_STREQ(FastestBackendRunOn(MADE_UP_BACKENDS, Wide(), Wide(), std::ref(timer)).name, "wide");
}

TEST(BackendChoice, WhatTheProcessorCannotRunIsNeverTimed) {
  MadeUpTimer timer({{1, {1, 1, 1}}, {2, {100, 100, 100}}, {3, {400}}});
  EXPECT_STREQ(
      FastestBackendRunOn(MADE_UP_BACKENDS, ProcessorFeatures{}, Wide(), std::ref(timer)).name,
      "plain");
  EXPECT_EQ(timer.timed.count(1), 0u);
}

TEST(BackendChoice, WhatThisProcessorCannotRunIsNeverTimedForAWiderClass) {
  // Asked what a wide class would get, on a host without the wide unit.
  MadeUpTimer timer({{1, {1, 1, 1}}, {2, {100, 100, 100}}, {3, {400}}});
  EXPECT_STREQ(
      FastestBackendRunOn(MADE_UP_BACKENDS, Wide(), ProcessorFeatures{}, std::ref(timer)).name,
      "plain");
  EXPECT_EQ(timer.timed.count(1), 0u);
}

TEST(BackendChoice, NothingIsTimedWhenOnlyTheGenericCodeRuns) {
  constexpr DigestBackend<int> WIDE_OR_GENERIC[] = {{"wide", 1, NeedsAvx512},
                                                    {"generic", 3, nullptr}};
  MadeUpTimer timer({{1, {1}}, {3, {400}}});
  EXPECT_STREQ(
      FastestBackendRunOn(WIDE_OR_GENERIC, ProcessorFeatures{}, Wide(), std::ref(timer)).name,
      "generic");
  EXPECT_TRUE(timer.timed.empty());
}

// A made-up backend's pass: `units` times two rounds of a dependent multiply-add over the bytes,
// some 25,000 cycles a unit on any core: a pass outlasts BACKEND_TIMED_TICKS, and passes cost in
// proportion to their units.
volatile uint64_t workDone;  // the sums' sink: work whose result nothing reads may be left out
void RunWork(int units, uint8_t* bytes, size_t length) {
  uint64_t sum = 0;
  for (int unit = 0; unit < 2 * units; ++unit) {
    for (size_t i = 0; i < length; ++i) sum = sum * 33 + bytes[i];
  }
  workDone = sum;
}

TEST(BackendChoiceOnTheClock, ALaterBackendAtAQuarterOfTheTimeIsTaken) {
  constexpr DigestBackend<int> SLOW_FIRST[] = {
      {"slow", 4, nullptr}, {"fast", 1, nullptr}, {"generic", 8, nullptr}};
  EXPECT_EQ(ChooseDigestBackend(SLOW_FIRST, RunWork), 1);
}

// Wide code on a core that ran other code, as the warming passes meet it: its first pass after
// another backend runs at an eighth of its speed, the next at full speed.
constexpr int WIDE = 1;
int lastBackendRun = 0;
void RunColdWide(int backend, uint8_t* bytes, size_t length) {
  const bool cold = backend == WIDE && lastBackendRun != WIDE;
  lastBackendRun = backend;
  RunWork(cold ? 8 : backend, bytes, length);
}

TEST(BackendChoiceOnTheClock, AWideBackendIsTimedWarm) {
  constexpr DigestBackend<int> WIDE_FIRST[] = {
      {"wide", WIDE, nullptr}, {"plain", 2, nullptr}, {"generic", 8, nullptr}};
  EXPECT_EQ(ChooseDigestBackend(WIDE_FIRST, RunColdWide), WIDE);
}

}  // namespace
