#pragma once
// The results of checking files against written digests, as -c and --expect print them, and what
// they add up to.
#include "cli/cli_algorithms.h"
#include "cli/cli_options.h"
#include "runtime/text.h"

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

  // A listed file that could not be read, with the message that says why; with --ignore-missing
  // one that does not exist is passed over.
  void Unreadable(const Text& name, const Text& failure);
  // A listed file read through: `matched` is the algorithm whose digest was the written one, or
  // null when none was.
  void Compared(const Text& name, const CliAlgorithm* matched);
  // The warnings and the exit status; `source` names the sums file in messages.
  int Finish(const Text& source) const;

  CheckTally tally;

 private:
  const CliOptions& options;
  const bool nameMatched;
};
