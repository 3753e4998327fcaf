#include "sums/entry_group.h"

#include <algorithm>

bool EntryGroup::Takes(const SumsEntry& entry) const {
  return entries.empty() ||
         (entries.front().name == entry.name && entries.size() < ENTRIES_READ_TOGETHER);
}

void EntryGroup::Add(SumsEntry entry, AlgorithmList more) {
  for (const NamedAlgorithm* algorithm : more) {
    if (std::find(algorithms.begin(), algorithms.end(), algorithm) == algorithms.end()) {
      algorithms.push_back(algorithm);
    }
  }
  entries.push_back(std::move(entry));
  entryAlgorithms.push_back(std::move(more));
}

EntryVerdict EntryGroup::Judge(size_t index, const FileFailure& failure,
                               const std::vector<Text>& digests) const {
  if (failure.failed) return JudgeUnreadEntry(entries[index], entryAlgorithms[index], failure);
  return JudgeEntry(entries[index], entryAlgorithms[index], algorithms, digests);
}
