#pragma once
// The eleven digests of the program and the block functions each can run on, so that a suite
// runs once per backend; a backend this processor lacks is skipped, never passed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "digest/shared/processor_features.h"

struct TestAlgorithm {
  const char* name;  // part of the test names, e.g. "Sha3_256"
  int32_t id;
  int32_t bits;
  uint32_t blockBytes;  // block size, or the sponge's rate
};

const std::vector<TestAlgorithm>& AllTestAlgorithms();

struct AlgorithmOnBackend {
  TestAlgorithm algorithm;
  std::string backend;
};

std::vector<AlgorithmOnBackend> EveryAlgorithmOnEveryBackend();
void PrintTo(const AlgorithmOnBackend& pair, std::ostream* out);
std::string TestNameOf(const testing::TestParamInfo<AlgorithmOnBackend>& info);

// Registers the plugins, points the algorithm's plugin at the parameter's backend (or skips the
// test when the processor cannot run it) and gives the registration's choice back afterwards.
class OnBackend : public testing::TestWithParam<AlgorithmOnBackend> {
 protected:
  void SetUp() override;
  void TearDown() override;
  const TestAlgorithm& Algorithm() const { return GetParam().algorithm; }
};

// The speed of the backend the algorithm's plugin calls now, as a share of the fastest backend
// that both a processor with `features` and this one run: each timed on runs 64 times as long as
// a pass of the choice by speed, through the plugin, the best of three. A right choice lands
// within a few hundredths of 1; the wrong one of a list, or the generic code where a class has
// its own, lands far below.
double ActiveShareOfFastest(const TestAlgorithm& algorithm, const ProcessorFeatures& features);

// The least share a choice must reach: room for a loaded machine, none for a wrong choice.
inline constexpr double NEAR_THE_FASTEST = 0.5;

// Points a plugin at one backend for the scope, then back at the one it called before.
class ScopedDigestBackend {
 public:
  ScopedDigestBackend(int32_t id, int32_t bits, const std::string& backend);
  ~ScopedDigestBackend();
  ScopedDigestBackend(const ScopedDigestBackend&) = delete;
  ScopedDigestBackend& operator=(const ScopedDigestBackend&) = delete;
  bool InUse() const { return inUse; }  // false when the processor cannot run it

 private:
  int32_t id, bits;
  std::string before;
  bool inUse;
};
