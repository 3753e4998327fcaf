#pragma once
// The check of one sums-file entry, with no output of its own: which algorithms its digest may be
// in, and, once the listed file was read or failed to be, the verdict on it. Both programs that
// check sums files take their verdicts from here, so that they agree on every line.
//
// A check reads each listed file once for the algorithms EntryAlgorithms gives (for several
// entries naming one file in a row, once for all of theirs), then judges each entry with the
// digests computed (JudgeEntry) or with why the file could not be read (JudgeUnreadEntry).
#include <vector>

#include "runtime/text.h"
#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"
#include "sums/unreadable_reason.h"

// Entries naming one file in a row are checked with one read of it, up to this many: more would
// hold their verdicts back while the file is read.
constexpr size_t ENTRIES_READ_TOGETHER = 64;

enum class EntryStatus { OK, FAILED, MISSING, UNREADABLE };

struct EntryVerdict {
  EntryStatus status = EntryStatus::UNREADABLE;
  // OK: the algorithm that matched. FAILED: the one expected, the first the entry may be in (for
  // a row of several digests, the first that differed). MISSING, UNREADABLE: the first the entry
  // may be in.
  const NamedAlgorithm* algorithm = nullptr;
  Text expected;  // the entry's digest in `algorithm`, lower case
  Text computed;  // the file's digest in `algorithm`, lower case; empty when it was not read
  // MISSING, UNREADABLE: the system's reason, as the companion words it after "cannot read NAME: ".
  Text reason;
};

// The algorithms the entry's digest may be in, of those `allowed`: the one it names; else those
// of its digest's length, narrowed to `namedBySumsFile` (the algorithm the sums file's name says,
// or null) when that is among them; for a row of several digests (hashdeep's), the algorithms of
// its digests that are allowed, every one of which must match. Empty for a malformed entry, or
// when none is allowed: the entry then counts as improperly formatted.
AlgorithmList EntryAlgorithms(const SumsEntry& entry, const AlgorithmList& allowed,
                              const NamedAlgorithm* namedBySumsFile);

// The verdict on a proper entry whose file was read: `entryAlgorithms` is what EntryAlgorithms
// gave for it, `computed` the algorithms of `digests` in their order, holding every one of them.
// OK when one of them (for a row of several digests, each of them) gave the written digest, in
// either case; else FAILED.
EntryVerdict JudgeEntry(const SumsEntry& entry, const AlgorithmList& entryAlgorithms,
                        const AlgorithmList& computed, const std::vector<Text>& digests);

// The verdict on a proper entry whose file could not be read: MISSING when nothing has its name,
// else UNREADABLE, with the reason.
EntryVerdict JudgeUnreadEntry(const SumsEntry& entry, const AlgorithmList& entryAlgorithms,
                              const FileFailure& failure);

// The first of `candidates` whose digest is `hex` in either case, or null; `computed` are the
// algorithms of `digests`, in their order, and hold every candidate.
const NamedAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                        const AlgorithmList& computed,
                                        const std::vector<Text>& digests);
