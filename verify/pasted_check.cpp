#include "verify/pasted_check.h"

AlgorithmList CandidateAlgorithms(const PastedDigest& digest) {
  if (digest.algorithm) return {digest.algorithm};
  return AlgorithmsWithHexLength(AllAlgorithms(), digest.hex.size());
}

Text AlgorithmNames(const AlgorithmList& algorithms, const wchar_t* joiner) {
  Text names;
  for (const NamedAlgorithm* algorithm : algorithms) {
    if (!names.empty()) names += joiner;
    names += algorithm->displayName;
  }
  return names;
}

Verdict PastePromptVerdict(const Text& fileName, const Text& pasted, const Text& problem) {
  if (pasted.empty() || problem.empty()) {
    return {L"Paste the published digest of " + fileName +
                L", or drop or choose a second file to compare.",
            Text(), VerdictColour::NEUTRAL};
  }
  // The reader quotes the text, which the box shows already.
  const Text quoted = L"'" + pasted + L"' is ";
  const Text why = problem.compare(0, quoted.size(), quoted) == 0
                       ? L"The pasted text is " + problem.substr(quoted.size())
                       : problem;
  return {why + L".", Text(), VerdictColour::NEUTRAL};
}

Verdict PastedDigestVerdict(const NamedAlgorithm* matched, const AlgorithmList& computed,
                            const std::vector<Text>& digests) {
  Verdict verdict;
  for (size_t i = 0; i < computed.size() && i < digests.size(); ++i) {
    if (!verdict.details.empty()) verdict.details += L"; ";
    verdict.details += Text(computed[i]->displayName) + L": " + digests[i];
  }
  if (matched) {
    verdict.text = Text(L"Match: ") + matched->displayName;
    verdict.colour = VerdictColour::GREEN;
  } else {
    verdict.text = L"No match";
    verdict.colour = VerdictColour::RED;
  }
  return verdict;
}

Verdict ComparisonVerdict(bool sameSize, bool sameDigest) {
  if (sameSize && sameDigest) {
    return {L"Same content", L"Both files have the same size and SHA-256.", VerdictColour::GREEN};
  }
  return {L"Different content",
          sameSize ? L"The files have the same size but different SHA-256."
                   : L"The files differ in size.",
          VerdictColour::RED};
}
