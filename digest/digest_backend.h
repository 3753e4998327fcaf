#pragma once
// Each algorithm lists its block functions, fastest first and the generic one last; its plugin
// takes the first one this processor runs when it registers, so that a faster backend slots in
// by joining the list and nothing else changes.
#include <cstddef>

template <typename Blocks>
struct DigestBackend {
  const char* name;
  Blocks blocks;
  bool (*processorRuns)();  // null for portable code, which every processor runs
};

template <typename Blocks>
bool ProcessorRunsBackend(const DigestBackend<Blocks>& backend) {
  return !backend.processorRuns || backend.processorRuns();
}

template <typename Blocks, size_t COUNT>
Blocks ChooseDigestBackend(const DigestBackend<Blocks> (&candidates)[COUNT]) {
  for (const DigestBackend<Blocks>& candidate : candidates) {
    if (ProcessorRunsBackend(candidate)) return candidate.blocks;
  }
  return candidates[COUNT - 1].blocks;
}
