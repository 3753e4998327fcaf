#pragma once
// Entries listed one after another that name one file, checked with one read of it for all their
// algorithms. Both programs that check sums files group entries so and judge each from the read.
#include <vector>

#include "runtime/text.h"
#include "sums/entry_check.h"
#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"
#include "sums/unreadable_reason.h"

struct EntryGroup {
  std::vector<SumsEntry> entries;
  std::vector<AlgorithmList> entryAlgorithms;  // what EntryAlgorithms gave for each entry
  AlgorithmList algorithms;  // every entry's, once each: what the file is read for, in order

  // Whether `entry` may join: the group is empty, or it names the group's file and there is room.
  bool Takes(const SumsEntry& entry) const;
  // `entryAlgorithms` is what EntryAlgorithms gave for the entry: not empty.
  void Add(SumsEntry entry, AlgorithmList entryAlgorithms);
  // The verdict on entry `index` once the file was read (`digests` in the order of `algorithms`)
  // or failed to be.
  EntryVerdict Judge(size_t index, const FileFailure& failure,
                     const std::vector<Text>& digests) const;
};
