#pragma once
// Printing mode: the digests of each file in the format the options ask for.
#include "cli/options/command_line.h"

// EXIT_SOME_FAILED when a file could not be read, EXIT_CANNOT_PROCEED when a --files-from list
// could not be; the others are printed all the same.
int ListDigests(const CliOptions& options);
