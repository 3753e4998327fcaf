#pragma once
// --expect HEX: files checked against one digest pasted from a web page. Every allowed algorithm
// with that many digits is computed in the same read, and an OK names the one that matched.
#include "cli/options/command_line.h"

// As for checking: EXIT_SOME_FAILED when a file did not match or could not be read.
int CheckExpectedDigest(const CliOptions& options);
