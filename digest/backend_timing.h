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
// moment's load favours none of them; each candidate keeps its best pass.
inline constexpr int BACKEND_TRIAL_ROUNDS = 3;

// The bytes each pass runs over: small enough that timing every backend of every algorithm costs
// well under two milliseconds, large enough for the time-stamp counter to tell 3 % apart.
inline constexpr size_t BACKEND_TRIAL_BYTES = 4096;

// Untimed passes of a candidate before each timed one, until they have taken this long (about
// 3 microseconds at the usual time-stamp rates): a core that ran plain code for some tens of
// microseconds starts wide vector code at a third of its speed, and takes about a microsecond,
// over passes of nearly equal time, to reach its full speed, which a file's steady run of the
// backend always has.
inline constexpr uint64_t BACKEND_WARMING_TICKS = 8192;

// Whether `ticks` beats `other` by more than the margin.
inline bool ClearlyFaster(uint64_t ticks, uint64_t other) {
  return static_cast<double>(ticks) * (1 + BACKEND_CHOICE_MARGIN) < static_cast<double>(other);
}

struct CandidateTime {
  bool runs;      // whether the processor runs this candidate at all
  uint64_t best;  // its best pass, in time-stamp ticks
};

// The index of the candidate to take: the first that runs, replaced by each later one that runs
// and is faster than the one kept by more than the margin. `count` is at least 1 and the last
// candidate (the generic one) always runs.
size_t PickBackendByTime(const CandidateTime* candidates, size_t count);

// A monotonic tick count: the time-stamp counter on x86-64, which runs at a constant rate on every
// processor with the backends it times, and nanoseconds elsewhere.
uint64_t ReadTicks();

// Fills `bytes` with the same pseudo-random bytes every time: data that stays in the cache but
// does not favour one table entry.
void FillTrialBytes(uint8_t (&bytes)[BACKEND_TRIAL_BYTES]);
