#pragma once
// An accelerated backend against the generic one, through the same plugin: random messages whose
// lengths gather around the edges where block functions go wrong (a block or a sponge's rate
// either side of a whole number of them, CRC32's 16-, 64-, 128- and 256-byte folding steps and
// the 2048 bytes its tables take on four streams at once, a read of 1 MiB), fed in random pieces
// from addresses at every distance from an 8-byte boundary. The accelerated backend must also
// leave the caller's bytes as they were.
#include <string>

#include "digest/shared/processor_features.h"
#include "tests/digest/backends_under_test.h"

// Three of the messages are around 1 MiB. `runsOn` is a processor that runs the backend: this
// one, or for code built to run on any processor the one it was written for. The plugin calls
// the generic backend afterwards.
void ExpectSameDigestsAsGeneric(const TestAlgorithm& algorithm, const std::string& backend,
                                const ProcessorFeatures& runsOn, int messageCount);
