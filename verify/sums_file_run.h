#pragma once
// A sums file's check, on the run's thread: the file read piece by piece into one listing, shown
// as soon as it is read, then every entry's file read and judged in the listing's order, then the
// files beside it that no entry names listed.
#include <vector>

#include "runtime/text.h"
#include "verify/run_board.h"

void RunSumsFileCheck(RunBoard& board, const Text& sumsFile);

// Lines for the unlisted `names` added to the sums file (the file left as it was on a failure,
// posted as `updateFailure`, or on Cancel), then the check above.
void RunUnlistedAdd(RunBoard& board, const Text& sumsFile, const std::vector<Text>& names);
