#include "cli/digest_match.h"

#include <algorithm>

#include "cli/sums_lines.h"

const CliAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                      const AlgorithmList& computed,
                                      const std::vector<Text>& digests) {
  const Text lower = LowerCaseHex(hex);
  for (const CliAlgorithm* candidate : candidates) {
    const size_t index = std::find(computed.begin(), computed.end(), candidate) - computed.begin();
    if (index < digests.size() && digests[index] == lower) return candidate;
  }
  return nullptr;
}
