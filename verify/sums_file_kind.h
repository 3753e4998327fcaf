#pragma once
// Whether a file handed to the window is a sums file to check, or a file to check against a
// pasted digest: by its name as the companion reads sums files' names (SHA256SUMS, *.sha256,
// MD5SUMS.asc, ...), else by its first lines, read through the same reader.
#include "runtime/text.h"

bool IsSumsFile(const Text& path);
