#include "cli/cli_algorithms.h"

AlgorithmList AllAlgorithms() {
  AlgorithmList all;
  for (const CliAlgorithm& algorithm : CLI_ALGORITHMS) all.push_back(&algorithm);
  return all;
}

const CliAlgorithm* FindAlgorithmByName(const Text& name) {
  for (const CliAlgorithm& algorithm : CLI_ALGORITHMS) {
    if (name == algorithm.name) return &algorithm;
  }
  return nullptr;
}

Text AlgorithmNamesList() {
  Text names;
  for (const CliAlgorithm& algorithm : CLI_ALGORITHMS) {
    if (!names.empty()) names += L", ";
    names += algorithm.name;
  }
  return names;
}

AlgorithmList AlgorithmsWithHexLength(const AlgorithmList& candidates, size_t hexLength) {
  AlgorithmList fitting;
  for (const CliAlgorithm* algorithm : candidates) {
    if (HexLength(*algorithm) == hexLength) fitting.push_back(algorithm);
  }
  return fitting;
}

std::vector<DigestChoice> DigestChoices(const AlgorithmList& algorithms) {
  std::vector<DigestChoice> choices;
  for (const CliAlgorithm* algorithm : algorithms) {
    choices.push_back({algorithm->row->algorithm, algorithm->row->bits});
  }
  return choices;
}
