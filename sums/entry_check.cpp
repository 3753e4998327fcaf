#include "sums/entry_check.h"

#include <algorithm>

namespace {

bool Contains(const AlgorithmList& list, const NamedAlgorithm* algorithm) {
  return std::find(list.begin(), list.end(), algorithm) != list.end();
}

// The entry's digests in `algorithms`: of a row of several, those whose algorithm is among them;
// else the one digest, as in each of them.
std::vector<WrittenDigest> DigestsToMatch(const SumsEntry& entry, const AlgorithmList& algorithms) {
  std::vector<WrittenDigest> digests;
  if (entry.moreDigests.empty()) {
    for (const NamedAlgorithm* algorithm : algorithms) digests.push_back({algorithm, entry.hex});
    return digests;
  }
  if (Contains(algorithms, entry.algorithm)) digests.push_back({entry.algorithm, entry.hex});
  for (const WrittenDigest& digest : entry.moreDigests) {
    if (Contains(algorithms, digest.algorithm)) digests.push_back(digest);
  }
  return digests;
}

Text ComputedDigest(const NamedAlgorithm* algorithm, const AlgorithmList& computed,
                    const std::vector<Text>& digests) {
  const size_t index = std::find(computed.begin(), computed.end(), algorithm) - computed.begin();
  return index < digests.size() ? digests[index] : Text();
}

EntryVerdict Verdict(EntryStatus status, const WrittenDigest& written, const Text& computed) {
  EntryVerdict verdict;
  verdict.status = status;
  if (!written.algorithm) return verdict;  // an entry judged without an algorithm to be in
  verdict.algorithm = written.algorithm;
  verdict.expected = LowerCaseHex(written.hex);
  verdict.computed = computed;
  return verdict;
}

// One of the entry's digests matching passes it; of a row's, every one must.
EntryVerdict JudgeDigests(const std::vector<WrittenDigest>& written, bool everyOne,
                          const AlgorithmList& computed, const std::vector<Text>& digests) {
  for (const WrittenDigest& digest : written) {
    const Text result = ComputedDigest(digest.algorithm, computed, digests);
    const bool matched = result == LowerCaseHex(digest.hex);
    if (matched && !everyOne) return Verdict(EntryStatus::OK, digest, result);
    if (!matched && everyOne) return Verdict(EntryStatus::FAILED, digest, result);
  }
  if (written.empty()) return Verdict(EntryStatus::FAILED, {}, Text());
  const WrittenDigest& first = written.front();
  return Verdict(everyOne ? EntryStatus::OK : EntryStatus::FAILED, first,
                 ComputedDigest(first.algorithm, computed, digests));
}

}  // namespace

AlgorithmList EntryAlgorithms(const SumsEntry& entry, const AlgorithmList& allowed,
                              const NamedAlgorithm* namedBySumsFile) {
  if (entry.form == SumsLineForm::MALFORMED) return {};
  if (!entry.moreDigests.empty()) {
    AlgorithmList algorithms;
    for (const WrittenDigest& digest : DigestsToMatch(entry, allowed)) {
      algorithms.push_back(digest.algorithm);
    }
    return algorithms;
  }
  if (entry.algorithm) {
    return Contains(allowed, entry.algorithm) ? AlgorithmList{entry.algorithm} : AlgorithmList{};
  }
  const AlgorithmList fitting = AlgorithmsWithHexLength(allowed, entry.hex.size());
  if (namedBySumsFile && Contains(fitting, namedBySumsFile)) return {namedBySumsFile};
  return fitting;
}

EntryVerdict JudgeEntry(const SumsEntry& entry, const AlgorithmList& entryAlgorithms,
                        const AlgorithmList& computed, const std::vector<Text>& digests) {
  return JudgeDigests(DigestsToMatch(entry, entryAlgorithms), !entry.moreDigests.empty(), computed,
                      digests);
}

EntryVerdict JudgeUnreadEntry(const SumsEntry& entry, const AlgorithmList& entryAlgorithms,
                              const FileFailure& failure) {
  const std::vector<WrittenDigest> written = DigestsToMatch(entry, entryAlgorithms);
  EntryVerdict verdict = Verdict(failure.missing ? EntryStatus::MISSING : EntryStatus::UNREADABLE,
                                 written.empty() ? WrittenDigest{} : written.front(), Text());
  verdict.reason = failure.reason;
  return verdict;
}

const NamedAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                        const AlgorithmList& computed,
                                        const std::vector<Text>& digests) {
  const Text lower = LowerCaseHex(hex);
  for (const NamedAlgorithm* candidate : candidates) {
    if (ComputedDigest(candidate, computed, digests) == lower) return candidate;
  }
  return nullptr;
}
