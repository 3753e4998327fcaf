#pragma once
// Each algorithm lists its block functions, fastest first on the processors we measured and the
// generic one last; its plugin takes the fastest one this processor runs when it registers
// (backend_timing.h), so that a faster backend slots in by joining the list and nothing else
// changes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "digest/backend_timing.h"

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

// The fastest candidate that both a processor with `features` and this one (`host`) run, as the
// rule of backend_timing.h takes it; `timePass(blocks, bytes)` gives the ticks a pass of a backend
// over the trial bytes takes, infinite when the round could not be timed. Nothing else is ever
// run, so a class wider than this processor may be asked about. With only the generic one
// runnable nothing is timed.
template <typename Blocks, size_t COUNT, typename TimePass>
const DigestBackend<Blocks>& FastestBackendRunOn(const DigestBackend<Blocks> (&candidates)[COUNT],
                                                 const ProcessorFeatures& features,
                                                 const ProcessorFeatures& host, TimePass timePass) {
  CandidateTime times[COUNT];
  size_t runnable = 0;
  for (size_t i = 0; i < COUNT; ++i) {
    const bool runs =
        ProcessorRunsBackend(candidates[i], features) && ProcessorRunsBackend(candidates[i], host);
    times[i] = {runs, HUGE_VAL};
    runnable += runs;
  }
  if (runnable < 2) return candidates[PickBackendByTime(times, COUNT)];
  alignas(64) uint8_t bytes[BACKEND_TRIAL_BYTES];
  FillTrialBytes(bytes);
  for (int round = 0; round < BACKEND_TRIAL_ROUNDS; ++round) {
    for (size_t i = 0; i < COUNT; ++i) {
      if (!times[i].runs) continue;
      const double ticks = timePass(candidates[i].blocks, bytes);
      if (ticks < times[i].best) times[i].best = ticks;
    }
  }
  return candidates[PickBackendByTime(times, COUNT)];
}

// How registration picks from a list: by the speed of each candidate on this processor, or, for
// code whose own dispatch takes the widest path the processor has, the first one it runs.
enum class BackendRule { FASTEST, WIDEST };

// One algorithm's backends as the engine's selection sees them, the same shape for each: the
// list, the pointer its plugin calls, its way of running a backend over trial bytes, and the rule
// that picks from the list.
template <typename Blocks, size_t COUNT>
struct DigestBackendTable {
  const DigestBackend<Blocks> (&candidates)[COUNT];
  Blocks& active;
  void (*runPass)(Blocks, uint8_t* bytes, size_t length);
  BackendRule rule;
};

template <typename Blocks, size_t COUNT>
constexpr DigestBackendTable<Blocks, COUNT> BackendTable(
    const DigestBackend<Blocks> (&candidates)[COUNT], Blocks& active,
    void (*runPass)(Blocks, uint8_t*, size_t), BackendRule rule = BackendRule::FASTEST) {
  return {candidates, active, runPass, rule};
}

// The first candidate that both a processor with `features` and this one run: for code whose own
// dispatch takes the widest path the processor has, and lists its paths widest first.
template <typename Blocks, size_t COUNT>
const DigestBackend<Blocks>& WidestBackendRunOn(const DigestBackend<Blocks> (&candidates)[COUNT],
                                                const ProcessorFeatures& features,
                                                const ProcessorFeatures& host) {
  for (const DigestBackend<Blocks>& backend : candidates) {
    if (ProcessorRunsBackend(backend, features) && ProcessorRunsBackend(backend, host)) {
      return backend;
    }
  }
  return candidates[COUNT - 1];
}

// Times a round of `runPass(blocks, bytes, length)`, the algorithm's way of running a backend over
// whole blocks of the trial bytes: untimed passes that fill BACKEND_WARMING_TICKS, then passes
// until BACKEND_TIMED_TICKS are full, giving the ticks of one. A round that moved to another core
// is not counted: the counters of two cores need not agree.
template <typename Blocks, typename RunPass>
auto TrialTimer(RunPass runPass) {
  return [runPass](Blocks blocks, uint8_t* bytes) {
    for (uint64_t warming = 0; warming < BACKEND_WARMING_TICKS;) {
      const uint64_t start = ReadTicks().ticks;
      runPass(blocks, bytes, BACKEND_TRIAL_BYTES);
      warming += ReadTicks().ticks - start;
    }
    const TickReading start = ReadTicks();
    TickReading end;
    uint64_t passes = 0;
    do {
      runPass(blocks, bytes, BACKEND_TRIAL_BYTES);
      ++passes;
      end = ReadTicks();
    } while (end.ticks - start.ticks < BACKEND_TIMED_TICKS);
    if (end.core != start.core) return HUGE_VAL;
    return static_cast<double>(end.ticks - start.ticks) / static_cast<double>(passes);
  };
}

// The backend a plugin takes when it registers: the fastest this processor runs.
template <typename Blocks, size_t COUNT, typename RunPass>
Blocks ChooseDigestBackend(const DigestBackend<Blocks> (&candidates)[COUNT], RunPass runPass) {
  return FastestBackendRunOn(candidates, ThisProcessor(), ThisProcessor(),
                             TrialTimer<Blocks>(runPass))
      .blocks;
}

// The backend the table's rule picks for a processor with `features`, of those `host` runs too.
template <typename Table>
const auto& ChosenBackendOn(const Table& table, const ProcessorFeatures& features,
                            const ProcessorFeatures& host) {
  using Blocks = std::remove_reference_t<decltype(table.active)>;
  if (table.rule == BackendRule::WIDEST)
    return WidestBackendRunOn(table.candidates, features, host);
  return FastestBackendRunOn(table.candidates, features, host, TrialTimer<Blocks>(table.runPass));
}

// Points the plugin at the backend its table's rule picks on this processor, as it registers.
template <typename Table>
void TakeChosenBackend(const Table& table) {
  table.active = ChosenBackendOn(table, ThisProcessor(), ThisProcessor()).blocks;
}
