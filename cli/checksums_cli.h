#pragma once
// checksums-cli: the digest engine for scripts and terminals. It prints digests in the window's
// report or in the two forms the usual checksum tools write and read, and checks sums files.
#include <vector>

#include "runtime/text.h"

// The exit status (cli_errors.h) for the arguments after the program's name.
int RunChecksumsCli(const std::vector<Text>& arguments);
