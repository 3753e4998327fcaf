#pragma once
// Checking mode: reads sums files and checks every file they list against the digest written
// beside it, reading each listed file once for all the algorithms its lines name.
#include "cli/cli_options.h"

// Per sums file, the worst wins: EXIT_SOME_FAILED when a listed file did not match or could
// not be read (or, with --strict, a line was in no known form); EXIT_CANNOT_PROCEED when a sums
// file had no line in a known form or a gnu line's algorithm could not be told.
int CheckSumsFiles(const CliOptions& options);
