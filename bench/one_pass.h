#pragma once
// The report's eleven digests of a file from one read of it (ComputeFileDigests), as the console
// companion computes them, on one worker and on two, against rhash's one pass.
#include <string>

#include "bench/whole_report.h"

// Prints the table; false when the digests disagree with rhash's.
bool MeasureOnePass(const std::string& path, int rounds, const RhashRuns& rhash);
