#pragma once
// The console companion's command line, read the way the usual checksum tools read theirs:
// short options may be grouped (-ca sha256), long ones take their value after '=' or as the
// next argument, options and files may come in any order, and "--" ends the options. The options
// themselves are the rows of option_table.h.
#include <vector>

#include "cli/options/cli_options.h"
#include "runtime/text.h"

CliOptions ParseCliArguments(const std::vector<Text>& arguments);

// The algorithms -a chose, or every one when it was not given: what a digest to check may be in.
AlgorithmList ChosenAlgorithms(const CliOptions& options);

// The algorithms -a chose, or the window's eleven when it was not given: what a file's digests
// are listed in.
AlgorithmList ListedAlgorithms(const CliOptions& options);
