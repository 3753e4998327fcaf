#include "cli/digest_match.h"

#include <algorithm>

const CliAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                      const AlgorithmList& computed,
                                      const std::vector<Text>& digests) {
  const Text lower = LowerCaseAscii(hex);
  for (const CliAlgorithm* candidate : candidates) {
    const size_t index = std::find(computed.begin(), computed.end(), candidate) - computed.begin();
    if (index < digests.size() && digests[index] == lower) return candidate;
  }
  return nullptr;
}

const CliAlgorithm* EveryDigestMatching(const std::vector<WrittenDigest>& written,
                                        const AlgorithmList& computed,
                                        const std::vector<Text>& digests) {
  for (const WrittenDigest& digest : written) {
    if (!MatchingAlgorithm({digest.algorithm}, digest.hex, computed, digests)) return nullptr;
  }
  return written.empty() ? nullptr : written.front().algorithm;
}
