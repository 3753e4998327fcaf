#pragma once
// One digest asked of the engine: an algorithm and, for the families, its size.
#include <cstdint>

struct DigestChoice {
  int32_t id;    // DIGEST_* id
  int32_t bits;  // 0 for the algorithms with one size
};
