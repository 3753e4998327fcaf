#pragma once
// Several digests of one file from a single read of it, spread over the processor's cores. The
// window keeps ComputeFileDigest's one pass per algorithm; the console companion uses this.
#include <cstdint>
#include <vector>

#include "digest/digest_choice.h"
#include "runtime/text.h"

// Reads the file once, in DIGEST_READ_SIZE pieces, and feeds every chosen digest from the same
// pieces; `workers` threads own the contexts (1: everything on the caller's thread). The texts
// come in the order of `choices`, lower-case hex as ComputeFileDigest gives; every failure that
// ComputeFileDigest would report as the empty text gives all texts empty.
std::vector<Text> ComputeFileDigests(const Text& path, const std::vector<DigestChoice>& choices,
                                     unsigned workers);
// The same over the process's standard input (a pipe or a file), read to its end.
std::vector<Text> ComputeStandardInputDigests(const std::vector<DigestChoice>& choices,
                                              unsigned workers);
// The number of workers that pays on this machine (its processor count, at least 1).
unsigned DigestWorkersForThisMachine();
