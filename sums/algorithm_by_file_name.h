#pragma once
// What a sums file's name says of the digests in it, as distributions and tools name them:
// SHA256SUMS, sha256sum.txt, MD5SUMS.asc, setup.iso.sha256, SHA3-256SUMS, *.sha3-256, ...
#include "sums/named_algorithms.h"
#include "runtime/text.h"

// The algorithm that the file name of `path` names, in any case; or null.
const NamedAlgorithm* AlgorithmNamedBySumsFile(const Text& path);
