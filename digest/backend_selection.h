#pragma once
// Points a plugin at one of its algorithm's backends. Tests, benchmarks and the companion's
// --benchmark and --backend use this, to run every backend the processor has (and the generic
// one) through the same plugin code; otherwise the programs keep the choice each plugin made when
// it registered.
#include <cstdint>
#include <string>
#include <vector>

#include "digest/shared/processor_features.h"

// The backends of the block function behind digest `id` with `bits` (SHA-2 has one list per word
// size), in their list's order, whether or not this processor runs them; none for an id that names
// no algorithm, on which every function below does nothing.
std::vector<std::string> DigestBackendNames(int32_t id, int32_t bits);

// False, changing nothing, when a processor with `features` cannot run the named backend or there
// is none. Only code built to run on any processor (the tests' build of the AVX-512 backends on
// emulated intrinsics) may be pinned for a processor other than this one.
bool UseDigestBackend(int32_t id, int32_t bits, const std::string& name,
                      const ProcessorFeatures& features = ThisProcessor());

bool ProcessorRunsDigestBackend(int32_t id, int32_t bits, const std::string& name,
                                const ProcessorFeatures& features = ThisProcessor());

// Gives the algorithm's plugin back the backend registration chooses, timing the candidates again.
void UseChosenDigestBackend(int32_t id, int32_t bits);

// The backend registration would choose on a processor with `features` (a processor class of a
// test or benchmark; with ThisProcessor(), the plugin's own choice): of those it runs, the fastest
// as timed on this processor. Only what `host` (this processor, or a narrower one a test stands
// in for it) runs too is timed or taken: a class wider than this processor gets the fastest of
// what both run.
std::string DigestBackendChosenOn(int32_t id, int32_t bits, const ProcessorFeatures& features,
                                  const ProcessorFeatures& host = ThisProcessor());

// The name of the backend the plugin calls now.
std::string ActiveDigestBackend(int32_t id, int32_t bits);
