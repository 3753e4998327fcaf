#pragma once
// Which algorithm, if any, gave a written digest: a digest of a length that several algorithms
// share is checked against each of them.
#include <vector>

#include "cli/cli_algorithms.h"
#include "runtime/text.h"

// The first of `candidates` whose digest is `hex` in either case, or null; `computed` are the
// algorithms of `digests`, in their order, and hold every candidate.
const CliAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                      const AlgorithmList& computed,
                                      const std::vector<Text>& digests);
