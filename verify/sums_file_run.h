#pragma once
// A sums file's check, on the run's thread: the file read piece by piece into one listing, shown
// as soon as it is read, then every entry's file read and judged in the listing's order.
#include "runtime/text.h"
#include "verify/run_board.h"

void RunSumsFileCheck(RunBoard& board, const Text& sumsFile);
