#include "cli/options/cli_algorithms.h"

AlgorithmList AllAlgorithms() {
  AlgorithmList all;
  for (const CliAlgorithm& algorithm : CLI_ALGORITHMS) all.push_back(&algorithm);
  return all;
}

const CliAlgorithm* FindAlgorithmByName(const Text& name) {
  const Text lower = LowerCaseAscii(name);
  for (const CliAlgorithm& algorithm : CLI_ALGORITHMS) {
    for (const wchar_t* spelling :
         {algorithm.name, algorithm.bsdTag, algorithm.opensslTag, algorithm.displayName}) {
      if (spelling && lower == LowerCaseAscii(spelling)) return &algorithm;
    }
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

Text LowerCaseAscii(const Text& text) {
  Text lower = text;
  for (wchar_t& character : lower) {
    if (character >= L'A' && character <= L'Z') {
      character = static_cast<wchar_t>(character - L'A' + L'a');
    }
  }
  return lower;
}
