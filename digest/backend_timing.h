#pragma once
// The choice of a backend by speed. Each algorithm's list puts its backends in the order measured
// best on the processors we know; a processor we do not know can still be faster on a later one
// (AMD's cores run some AVX-512 code at half the speed of their plain 64-bit code, for one), so
// registration times every backend the processor runs on a small buffer in memory and keeps the
// list's order unless a later one is clearly faster.
#include <cstddef>
#include <cstdint>

// A later backend must beat the one ahead of it by this fraction of its time to be taken: noise
// between near-equal backends then leaves the list's order standing.
inline constexpr double BACKEND_CHOICE_MARGIN = 0.03;

// Rounds of timed passes over the candidates, taken in turn so that a clock ramping up or a
// moment's load favours none of them; each candidate keeps its best round.
inline constexpr int BACKEND_TRIAL_ROUNDS = 3;

// The bytes each pass runs over: enough blocks that a backend's set-up and its last blocks weigh
// as little as in a file's long run, few enough that timing every backend of every algorithm
// costs well under two milliseconds.
inline constexpr size_t BACKEND_TRIAL_BYTES = 4096;

// Untimed passes of a candidate before each timed round, until they have taken this long (about
// 3 microseconds at the usual time-stamp rates): a core that ran plain code for some tens of
// microseconds starts wide vector code at a third of its speed, and takes about a microsecond,
// over passes of nearly equal time, to reach its full speed, which a file's steady run of the
// backend always has.
inline constexpr uint64_t BACKEND_WARMING_TICKS = 8192;

// A timed round repeats passes until they have taken this long. One pass of the fastest backends
// lasts under 200 ticks, and under a hypervisor the counter may move in steps of 26: a round of
// 4,096 ticks keeps a step under 1 % of what is timed.
inline constexpr uint64_t BACKEND_TIMED_TICKS = 4096;

// Whether `ticks` beats `other` by more than the margin.
inline bool ClearlyFaster(double ticks, double other) {
  return ticks * (1 + BACKEND_CHOICE_MARGIN) < other;
}

struct CandidateTime {
  bool runs;    // whether the processor runs this candidate at all
  double best;  // its best round, in time-stamp ticks a pass
};

// The index of the candidate to take: the first that runs, replaced by each later one that runs
// and is faster than the one kept by more than the margin. `count` is at least 1 and the last
// candidate (the generic one) always runs.
size_t PickBackendByTime(const CandidateTime* candidates, size_t count);

// A reading of the tick count, with the core it was read on where the processor tells
// (RDTSCP); 0 elsewhere.
struct TickReading {
  uint64_t ticks;
  uint32_t core;
};

// A monotonic tick count: the time-stamp counter on x86-64, which runs at a constant rate on every
// processor with the backends it times, and nanoseconds elsewhere. RDTSCP, where there is one,
// also waits for the timed code to finish before it reads.
TickReading ReadTicks();

// Fills `bytes` with the same pseudo-random bytes every time: data that stays in the cache but
// does not favour one table entry.
void FillTrialBytes(uint8_t (&bytes)[BACKEND_TRIAL_BYTES]);
