#pragma once
// Each algorithm lists its block functions, fastest first and the generic one last; its plugin
// takes the first one this processor runs when it registers, so that a faster backend slots in
// by joining the list and nothing else changes.
#include <cstddef>

#include "digest/shared/processor_features.h"

template <typename Blocks>
struct DigestBackend {
  const char* name;
  Blocks blocks;
  // Whether a processor with these features runs it; null for code that every processor it is
  // built for runs: portable code, and x86-64 code that needs no more than SSE2. Taking the
  // features, not reading them, lets tests and benchmarks ask for a processor other than this
  // one.
  bool (*processorRuns)(const ProcessorFeatures&);
};

template <typename Blocks>
bool ProcessorRunsBackend(const DigestBackend<Blocks>& backend, const ProcessorFeatures& features) {
  return !backend.processorRuns || backend.processorRuns(features);
}

// The first candidate a processor with `features` runs; the generic one when none is.
template <typename Blocks, size_t COUNT>
const DigestBackend<Blocks>& FirstBackendRunOn(const DigestBackend<Blocks> (&candidates)[COUNT],
                                               const ProcessorFeatures& features) {
  for (const DigestBackend<Blocks>& candidate : candidates) {
    if (ProcessorRunsBackend(candidate, features)) return candidate;
  }
  return candidates[COUNT - 1];
}

template <typename Blocks, size_t COUNT>
Blocks ChooseDigestBackend(const DigestBackend<Blocks> (&candidates)[COUNT]) {
  return FirstBackendRunOn(candidates, ThisProcessor()).blocks;
}
