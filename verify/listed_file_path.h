#pragma once
// Where the window looks for a file a sums file lists.
#include "runtime/text.h"

// A listed name as the window opens it: absolute names as written; any other, `../` included,
// in the sums file's folder, wherever the program was started from.
Text ListedFilePath(const Text& sumsFile, const Text& name);
