#pragma once
// The digests of a file named on the command line or in a sums file, "-" being standard input,
// in one pass over it.
#include <vector>

#include "cli/cli_algorithms.h"
#include "runtime/text.h"

struct NamedFileDigests {
  std::vector<Text> digests;  // in the order of the algorithms asked for
  Text failure;               // "cannot read NAME: reason" when it could not be read, else empty
};

NamedFileDigests ComputeNamedFileDigests(const Text& name, const AlgorithmList& algorithms);
