#pragma once
// Every algorithm the programs offer, once: the engine's id and size, the names the companion and
// sums files use, the label of its report line and its digest's length. The window's eleven
// fields are the first eleven rows (report_table.h); the rows after them are offered wherever a
// digest is chosen, read or written, but are not among the window's fields.
#include <cstddef>
#include <cstdint>

#include "digest/digest_plugin.h"

struct ReportRow {
  const wchar_t* label;  // the field's start label; a report line adds one space and the digest
  int32_t algorithm;     // DIGEST_* id
  int32_t bits;          // 0 for the algorithms with a single size
};

struct NamedAlgorithm {
  const wchar_t* name;         // in -a LIST
  const wchar_t* bsdTag;       // "TAG (NAME) = HEX"
  const wchar_t* opensslTag;   // "TAG(NAME)= HEX" as OpenSSL 3 writes it, where it differs; or null
  const wchar_t* alias;        // another name people use for it (in -a and sums files' names)
  const wchar_t* displayName;  // the standard's name, as a check result names the one that matched
  ReportRow row;
  int32_t digestBits;
};

// clang-format off
inline constexpr NamedAlgorithm ALGORITHMS[] = {
    {L"crc32", L"CRC32", nullptr, nullptr, L"CRC32", {L"CRC32:", DIGEST_CRC32, 0}, 32},
    {L"md5", L"MD5", nullptr, nullptr, L"MD5", {L"MD5:", DIGEST_MD5, 0}, 128},
    {L"sha1", L"SHA1", nullptr, nullptr, L"SHA-1", {L"SHA-1:", DIGEST_SHA1, 0}, 160},
    {L"sha224", L"SHA224", L"SHA2-224", nullptr, L"SHA-224", {L"SHA-2 (224):", DIGEST_SHA2, 224}, 224},
    {L"sha256", L"SHA256", L"SHA2-256", nullptr, L"SHA-256", {L"SHA-2 (256):", DIGEST_SHA2, 256}, 256},
    {L"sha384", L"SHA384", L"SHA2-384", nullptr, L"SHA-384", {L"SHA-2 (384):", DIGEST_SHA2, 384}, 384},
    {L"sha512", L"SHA512", L"SHA2-512", nullptr, L"SHA-512", {L"SHA-2 (512):", DIGEST_SHA2, 512}, 512},
    {L"sha3-224", L"SHA3-224", nullptr, nullptr, L"SHA3-224", {L"SHA-3 (224):", DIGEST_SHA3, 224}, 224},
    {L"sha3-256", L"SHA3-256", nullptr, nullptr, L"SHA3-256", {L"SHA-3 (256):", DIGEST_SHA3, 256}, 256},
    {L"sha3-384", L"SHA3-384", nullptr, nullptr, L"SHA3-384", {L"SHA-3 (384):", DIGEST_SHA3, 384}, 384},
    {L"sha3-512", L"SHA3-512", nullptr, nullptr, L"SHA3-512", {L"SHA-3 (512):", DIGEST_SHA3, 512}, 512},
    {L"blake3", L"BLAKE3", nullptr, L"b3", L"BLAKE3", {L"BLAKE3:", DIGEST_BLAKE3, 0}, 256},
    {L"xxh3", L"XXH3", nullptr, L"xxh3_64", L"XXH3", {L"XXH3:", DIGEST_XXH3, 64}, 64},
    {L"xxh128", L"XXH128", nullptr, nullptr, L"XXH128", {L"XXH128:", DIGEST_XXH3, 128}, 128},
};
// clang-format on

constexpr size_t ALGORITHM_COUNT = sizeof ALGORITHMS / sizeof ALGORITHMS[0];

// The window's fields: the table's first rows.
constexpr int REPORT_ROW_COUNT = 11;
static_assert(ALGORITHM_COUNT >= REPORT_ROW_COUNT);
