#pragma once
// The digest registry: algorithms register a table of four operations under a numeric id, and
// the framework knows nothing of them beyond the common head of their contexts.
#include <cstdint>

constexpr int32_t DIGEST_MD5 = 1;
constexpr int32_t DIGEST_CRC32 = 2;
constexpr int32_t DIGEST_SHA1 = 3;
constexpr int32_t DIGEST_SHA2 = 4;
constexpr int32_t DIGEST_SHA3 = 5;
constexpr int32_t DIGEST_BLAKE3 = 6;
constexpr int32_t DIGEST_XXH3 = 7;  // XXH3-64 and XXH128, by bits

// Selects the first registered plugin (CRC32 with the program's start-up order).
constexpr int32_t DIGEST_FIRST_REGISTERED = -1;

constexpr int DIGEST_REGISTRY_SLOTS = 64;
constexpr int DIGEST_MAX_BYTES = 64;

// The head every algorithm's context begins with; the framework reads nothing else.
struct DigestContext {
  int32_t bits;                      // digest length in bits, set by create
  uint8_t digest[DIGEST_MAX_BYTES];  // first bits/8 bytes written by finish
};

// `update` may overwrite `data` when the context was created with preserveInput 0.
struct DigestPlugin {
  int32_t id;
  DigestContext* (*create)(int32_t bits, int32_t preserveInput);
  void (*update)(DigestContext* context, uint8_t* data, uint32_t length);
  void (*finish)(DigestContext* context);
  void (*free)(DigestContext* context);
};

// The slot to fill with the four operations, or null when the id is already registered.
DigestPlugin* RegisterDigestPlugin(int32_t id);
const DigestPlugin* FindDigestPlugin(int32_t id);
