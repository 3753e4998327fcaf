#pragma once
// The results of checking files against written digests: which algorithm gave the written digest,
// the lines -c and --expect print, and what they add up to.
#include <vector>

#include "cli/options/cli_algorithms.h"
#include "cli/sums_file/hashdeep_lines.h"
#include "cli/options/command_line.h"
#include "runtime/text.h"

// The first of `candidates` whose digest is `hex` in either case, or null; `computed` are the
// algorithms of `digests`, in their order, and hold every candidate.
const CliAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                      const AlgorithmList& computed,
                                      const std::vector<Text>& digests);

// The first of `written` when each of them is its algorithm's digest, else null; `computed` holds
// each of their algorithms.
const CliAlgorithm* EveryDigestMatching(const std::vector<WrittenDigest>& written,
                                        const AlgorithmList& computed,
                                        const std::vector<Text>& digests);

enum class CheckOutcome { MATCHED, DIFFERED, UNREADABLE };

// "NAME: OK", "NAME: FAILED" or "NAME: FAILED open or read"; "NAME: OK (SHA-256)" when the
// algorithm that matched is given.
Text CheckResultLine(const Text& name, CheckOutcome outcome, const CliAlgorithm* matched = nullptr);

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
