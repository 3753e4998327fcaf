#pragma once
// Points a plugin at one of its algorithm's backends. Only tests and benchmarks use this, to run
// every backend the processor has (and the generic one) through the same plugin code; the
// program itself keeps the choice each plugin made when it registered.
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
// as timed on this processor.
std::string DigestBackendChosenOn(int32_t id, int32_t bits, const ProcessorFeatures& features);

// The name of the backend the plugin calls now.
std::string ActiveDigestBackend(int32_t id, int32_t bits);
