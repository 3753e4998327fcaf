#pragma once
// What the console companion prints: a file's digests in one of the three formats, and the
// result of checking one line of a sums file.
#include <vector>

#include "cli/cli_algorithms.h"
#include "cli/cli_options.h"
#include "runtime/text.h"

// The lines for one file, `digests` in the order of `algorithms`:
//   report: "SHA-2 (256): 9F86...", one per algorithm, then "File Path: NAME"
//   gnu:    "9f86...  NAME"
//   bsd:    "SHA256 (NAME) = 9f86...", one per algorithm
// Names are escaped as name_escaping.h says, unless `escapeNames` is false (lines that end in NUL
// need no escapes).
std::vector<Text> DigestLines(OutputFormat format, const AlgorithmList& algorithms,
                              const std::vector<Text>& digests, const Text& name,
                              bool escapeNames = true);

enum class CheckOutcome { MATCHED, DIFFERED, UNREADABLE };

// "NAME: OK", "NAME: FAILED" or "NAME: FAILED open or read"; "NAME: OK (SHA-256)" when the
// algorithm that matched is given.
Text CheckResultLine(const Text& name, CheckOutcome outcome, const CliAlgorithm* matched = nullptr);
