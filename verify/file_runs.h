#pragma once
// The two checks of files named in the window, on the run's thread: one file against a pasted
// digest, and two files against each other.
#include "sums/named_algorithms.h"
#include "verify/run_board.h"

void RunDigestCheck(RunBoard& board, const Text& file, const AlgorithmList& candidates,
                    const Text& hex);
void RunComparison(RunBoard& board, const Text& first, const Text& second);
