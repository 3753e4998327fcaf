#pragma once
// The file named on the command line, as Explorer's verbs and Send To give it.
#include "runtime/text.h"

// The first argument, unquoted; the empty text when there is none.
Text CommandLineFile();
