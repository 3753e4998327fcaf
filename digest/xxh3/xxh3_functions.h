#pragma once
// The functions of one XXH3 backend, from the authors' xxhash.h, inlined into the including
// translation unit with the vector width it sets in XXH_VECTOR before including this header. Every
// function of the header is static there, so that several widths live in one program.
#include "digest/xxh3/xxh3_backend.h"

#define XXH_INLINE_ALL
#include XXHASH_HEADER

namespace {

XXH3_state_t* StateIn(Xxh3Room* room) {
  static_assert(sizeof(XXH3_state_t) + 63 <= sizeof room->bytes);
  const uintptr_t at = reinterpret_cast<uintptr_t>(room->bytes);
  return reinterpret_cast<XXH3_state_t*>((at + 63) & ~static_cast<uintptr_t>(63));
}

const XXH3_state_t* StateIn(const Xxh3Room* room) {
  return StateIn(const_cast<Xxh3Room*>(room));
}

// XXH3-64 and XXH128 start and feed the state alike; only their endings differ.
void Reset(Xxh3Room* room) {
  XXH3_64bits_reset(StateIn(room));
}

void Update(Xxh3Room* room, const uint8_t* data, size_t length) {
  XXH3_64bits_update(StateIn(room), data, length);
}

void Digest(const Xxh3Room* room, int32_t bits, uint8_t* out) {
  if (bits == 128) {
    XXH128_canonicalFromHash(reinterpret_cast<XXH128_canonical_t*>(out),
                             XXH3_128bits_digest(StateIn(room)));
  } else {
    XXH64_canonicalFromHash(reinterpret_cast<XXH64_canonical_t*>(out),
                            XXH3_64bits_digest(StateIn(room)));
  }
}

}  // namespace
