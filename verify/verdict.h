#pragma once
// The verdict at the top of the window: one line no one can miss, on green or red, and a line of
// counts under it.
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "verify/check_rows.h"

enum class VerdictColour { NEUTRAL, GREEN, RED };

struct Verdict {
  Text text;
  Text details;
  VerdictColour colour = VerdictColour::NEUTRAL;
};

struct RowCounts {
  size_t ok = 0, failed = 0, missing = 0, unreadable = 0, waiting = 0;
  size_t unlisted = 0;  // files here that the sums file does not name: not among its files
  size_t Files() const { return ok + failed + missing + unreadable + waiting; }
};

// Counts a row of `status`.
void CountRow(RowCounts& counts, RowStatus status);

enum class RunState { RUNNING, DONE, CANCELLED };

// What a sums file's verdict needs beyond the rows' counts.
struct SumsFileFacts {
  Text name;         // the sums file's, as the window shows it
  Text readFailure;  // why the sums file stopped being read part way; empty when read to its end
  Text onlyOkName;   // the file of the one row OK, when exactly one is
};

// A sums file's check: "All 12 files OK" on green; "2 of 12 FAILED, 1 MISSING" on red;
// "setup.exe OK; 3 other listed files are not in this folder" when what is here is good; while it
// runs, how far it is. The details count each status and name the lines not understood
// (`unrecognisedLines`, their numbers in the sums file) and the files here it does not name.
Verdict SumsFileVerdict(const RowCounts& counts, const std::vector<size_t>& unrecognisedLines,
                        RunState state, const SumsFileFacts& facts = {});

// A sums file that cannot be checked at all: it cannot be read (`failure` says why), or none of
// its lines is one this program understands.
Verdict UnreadableSumsFileVerdict(const Text& failure);
Verdict NoCheckLineVerdict(const Text& sumsFileName, size_t lines);
// Memory ran out part way: the rows done are kept, the others not checked.
Verdict OutOfMemoryVerdict(const RowCounts& counts);
// "Adding 3 files to SHA256SUMS...", before it is checked again.
Verdict AddingVerdict(const Text& sumsFileName, size_t files);
// Adding the unlisted files failed: "SHA256SUMS was left as it was: REASON."
Text NotUpdatedSentence(const Text& sumsFileName, const Text& failure);
// A file taken for a sums file by its name that holds binary data (an image, a program).
Verdict BinarySumsFileVerdict(const Text& sumsFileName);
