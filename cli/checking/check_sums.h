#pragma once
// Checking mode: reads sums files line by line and checks every file they list against the digest
// written beside it. Consecutive lines naming one file read it once for all their algorithms.
#include "cli/options/command_line.h"

// Per sums file, the worst wins: EXIT_SOME_FAILED when a listed file did not match or could not
// be read (or, with --strict, a line was in no known form); EXIT_CANNOT_PROCEED when a sums file
// could not be read or had no line in a known form.
int CheckSumsFiles(const CliOptions& options);
