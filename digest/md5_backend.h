#pragma once
// MD5 block functions: whole 64-byte blocks, words read little-endian, the blocks never written.
#include <cstddef>
#include <cstdint>

#include "digest/digest_backend.h"

using Md5BlocksFunction = void (*)(uint32_t state[4], const uint8_t* blocks, size_t count);

void Md5BlocksGeneric(uint32_t state[4], const uint8_t* blocks, size_t count);

inline constexpr DigestBackend<Md5BlocksFunction> MD5_BACKENDS[] = {
    {"generic", Md5BlocksGeneric, nullptr},
};

// What the plugin calls: the generic one until RegisterMd5Plugin chooses from MD5_BACKENDS.
extern Md5BlocksFunction md5Blocks;
