#pragma once
// Several digests of one file in a single pass over it.
#include <cstdint>
#include <vector>

#include "runtime/text.h"

struct DigestChoice {
  int32_t id;    // DIGEST_* id
  int32_t bits;  // 0 for the algorithms with a single size
};

// The digests as lower-case hexadecimal texts in the order of `choices`; all empty when the file
// cannot be read or a choice is not registered.
std::vector<Text> ComputeFileDigests(const Text& path, const std::vector<DigestChoice>& choices,
                                     unsigned workers);
std::vector<Text> ComputeStandardInputDigests(const std::vector<DigestChoice>& choices,
                                              unsigned workers);

unsigned DigestWorkersForThisMachine();
