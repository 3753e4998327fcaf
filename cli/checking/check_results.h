#pragma once
// The results of checking files against written digests: the lines -c and --expect print, and
// what they add up to.
#include <vector>

#include "cli/options/command_line.h"
#include "runtime/text.h"
#include "sums/entry_check.h"
#include "sums/named_algorithms.h"
#include "sums/unreadable_reason.h"

enum class CheckOutcome { MATCHED, DIFFERED, UNREADABLE };

// "NAME: OK", "NAME: FAILED" or "NAME: FAILED open or read"; "NAME: OK (SHA-256)" when the
// algorithm that matched is given.
Text CheckResultLine(const Text& name, CheckOutcome outcome,
                     const NamedAlgorithm* matched = nullptr);

struct CheckTally {
  int malformed = 0;
  int unreadable = 0;
  int differed = 0;
  int read = 0;
};

class CheckResults {
 public:
  // `nameMatched`: an OK names the algorithm that matched ("NAME: OK (SHA-256)").
  CheckResults(const CliOptions& options, bool nameMatched = false)
      : options(options), nameMatched(nameMatched) {}

  // A listed file that could not be read, and why; with --ignore-missing one that does not exist
  // is passed over.
  void Unreadable(const Text& name, const FileFailure& failure);
  // A listed file read through: `matched` is the algorithm whose digest was the written one, or
  // null when none was.
  void Compared(const Text& name, const NamedAlgorithm* matched);
  // A sums file's entry for the file `name`, as judged.
  void Judged(const Text& name, const EntryVerdict& verdict);
  // The warnings and the exit status; `source` names the sums file in messages.
  int Finish(const Text& source) const;

  CheckTally tally;

 private:
  const CliOptions& options;
  const bool nameMatched;
};
