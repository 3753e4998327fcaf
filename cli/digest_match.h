#pragma once
// Which algorithm, if any, gave a written digest: a digest of a length that several algorithms
// share is checked against each of them.
#include <vector>

#include "cli/cli_algorithms.h"
#include "runtime/text.h"

// A digest written in the algorithm it names.
struct WrittenDigest {
  const CliAlgorithm* algorithm;
  Text hex;
};

// The first of `candidates` whose digest is `hex` in either case, or null; `computed` are the
// algorithms of `digests`, in their order, and hold every candidate.
const CliAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                      const AlgorithmList& computed,
                                      const std::vector<Text>& digests);

// The first of `written` when each of them is its algorithm's digest, else null; `computed` holds
// each of their algorithms.
const CliAlgorithm* EveryDigestMatching(const std::vector<WrittenDigest>& written,
                                        const AlgorithmList& computed,
                                        const std::vector<Text>& digests);
