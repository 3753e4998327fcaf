#pragma once
// What a sums file being made holds once its files are read, and the verdict of the making: the
// lines of the files read, in the rows' order; those that could not be read are counted and left
// out, and so is the sums file itself when it lies among the files walked.
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "verify/row_table.h"
#include "verify/verdict.h"

struct CreatedSumsFile {
  std::vector<Text> lines;
  size_t unreadable = 0;  // rows left out because their files could not be read
};

// `ownName` is the sums file's name below its folder: the row of that name is left out.
CreatedSumsFile CreatedSumsFileLines(const RowTable& rows, const Text& ownName);

enum class SaveState { NOT_YET, SAVED, NOT_SAVED, FAILED };

struct SaveOutcome {
  SaveState state = SaveState::NOT_YET;
  Text fileName;  // the sums file's name, without its folder
  size_t files = 0;
  size_t unreadable = 0;
  Text reason;  // FAILED: why, in the system's words
};

// While it runs, how far; cancelled or not saved, that nothing was written; saved, what the file
// holds ("1,204 files in SHA256SUMS; 2 could not be read and are not in it"); a failed write,
// why, and that the old file is as it was.
Verdict CreateVerdict(const RowCounts& counts, RunState state, const SaveOutcome& save);

// "1,204": a count as people read it.
Text GroupedNumber(size_t number);
