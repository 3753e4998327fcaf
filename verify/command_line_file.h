#pragma once
// The file named on the command line, as Explorer's verbs and Send To give it, or the files and
// folders to make a sums file of: `--create PATH...`.
#include <vector>

#include "runtime/text.h"

// The first argument, unquoted; the empty text when there is none or it is --create.
Text CommandLineFile();

// True when the first argument is --create, with the arguments after it in `items` (none: the
// user is to choose a folder).
bool CommandLineAsksToCreate(std::vector<Text>& items);
