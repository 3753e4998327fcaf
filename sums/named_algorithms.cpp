#include "sums/named_algorithms.h"

AlgorithmList AllAlgorithms() {
  AlgorithmList all;
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) all.push_back(&algorithm);
  return all;
}

AlgorithmList ReportAlgorithms() {
  AlgorithmList eleven;
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) eleven.push_back(&NAMED_ALGORITHMS[i]);
  return eleven;
}

const NamedAlgorithm* FindAlgorithmByName(const Text& name) {
  const Text lower = LowerCaseAscii(name);
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    for (const wchar_t* spelling : {algorithm.name, algorithm.bsdTag, algorithm.opensslTag,
                                    algorithm.alias, algorithm.displayName}) {
      if (spelling && lower == LowerCaseAscii(spelling)) return &algorithm;
    }
  }
  return nullptr;
}

Text AlgorithmNamesList() {
  Text names;
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    if (!names.empty()) names += L", ";
    names += algorithm.name;
  }
  return names;
}

AlgorithmList AlgorithmsWithHexLength(const AlgorithmList& candidates, size_t hexLength) {
  AlgorithmList fitting;
  for (const NamedAlgorithm* algorithm : candidates) {
    if (HexLength(*algorithm) == hexLength) fitting.push_back(algorithm);
  }
  return fitting;
}

bool IsDigestLength(size_t hexLength) {
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    if (HexLength(algorithm) == hexLength) return true;
  }
  return false;
}

std::vector<DigestChoice> DigestChoices(const AlgorithmList& algorithms) {
  std::vector<DigestChoice> choices;
  for (const NamedAlgorithm* algorithm : algorithms) {
    choices.push_back({algorithm->row.algorithm, algorithm->row.bits});
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
