#include "digest/backend_timing.h"

#include "digest/shared/processor_features.h"

#if DIGEST_X86_64_BACKENDS
#include <x86intrin.h>
#else
#include <chrono>
#endif

size_t PickBackendByTime(const CandidateTime* candidates, size_t count) {
  // The first candidate that runs stands until a later one is clearly faster.
  size_t kept = 0;
  while (kept < count - 1 && !candidates[kept].runs) ++kept;
  for (size_t i = kept + 1; i < count; ++i) {
    if (!candidates[i].runs) continue;
    if (ClearlyFaster(candidates[i].best, candidates[kept].best)) kept = i;
  }
  return kept;
}

TickReading ReadTicks() {
#if DIGEST_X86_64_BACKENDS
  static const bool withCore = ThisProcessorHasRdtscp();
  if (!withCore) return {__rdtsc(), 0};
  unsigned int core;
  const uint64_t ticks = __rdtscp(&core);
  return {ticks, core};
#else
  return {static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::steady_clock::now().time_since_epoch())
                                    .count()),
          0};
#endif
}

void FillTrialBytes(uint8_t (&bytes)[BACKEND_TRIAL_BYTES]) {
  uint32_t seed = 1;
  for (uint8_t& byte : bytes) {
    seed = seed * 1664525 + 1013904223;
    byte = static_cast<uint8_t>(seed >> 24);
  }
}
