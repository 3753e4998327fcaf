#pragma once
// A file's digest as lower-case hexadecimal text; every failure gives the empty text.
#include <cstdint>

#include "digest/digest_plugin.h"
#include "runtime/text.h"

constexpr uint32_t DIGEST_READ_SIZE = 1048576;

Text ComputeFileDigest(const Text& path, int32_t id);
Text ComputeFileDigest(const Text& path, int32_t id, int32_t bits);
Text ComputeFileDigest(const Text& path, int32_t id, int32_t bits, int64_t offset);

// False for the empty text and for one holding a zero character, which would silently name a
// different, shorter path.
bool IsFilePathText(const Text& path);

// The full form behind the public ones; `length` -1 reads to the end of the file.
Text ComputeFileDigestRange(const Text& path, int32_t id, int32_t bits, int64_t offset,
                            int64_t length);

// bits/8 bytes of the finished digest, two lower-case digits a byte; null gives the empty text.
Text DigestToHex(const DigestContext* context);
