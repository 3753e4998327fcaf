#pragma once
// The lines that print a file's digests in one of the three formats.
#include <vector>

#include "sums/named_algorithms.h"
#include "cli/options/command_line.h"
#include "runtime/text.h"

// The lines for one file, `digests` in the order of `algorithms`:
//   report: "SHA-2 (256): 9F86...", one per algorithm, then "File Path: NAME"
//   gnu:    "9f86...  NAME"
//   bsd:    "SHA256 (NAME) = 9f86...", one per algorithm
// Names are escaped as line_escapes.h says, unless `escapeNames` is false (lines that end in NUL
// need no escapes).
std::vector<Text> DigestLines(OutputFormat format, const AlgorithmList& algorithms,
                              const std::vector<Text>& digests, const Text& name,
                              bool escapeNames = true);
