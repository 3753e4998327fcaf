#pragma once
// The eleven rows of a file's checksum report, in the order shown: the window (whose fields are
// numbered by it) and the console companion both take them from here.
#include <array>
#include <cstdint>

#include "digest/digest_plugin.h"
#include "runtime/text.h"

struct ReportRow {
  const wchar_t* label;  // the field's start label; a report line adds one space and the digest
  int32_t algorithm;     // DIGEST_* id
  int32_t bits;          // 0 for the algorithms with a single size
};

constexpr int REPORT_ROW_COUNT = 11;

// CRC32 comes first although its id is 2: the order is the table's, not the ids'.
// clang-format off
inline constexpr ReportRow REPORT_ROWS[REPORT_ROW_COUNT] = {
    {L"CRC32:", DIGEST_CRC32, 0},
    {L"MD5:", DIGEST_MD5, 0},
    {L"SHA-1:", DIGEST_SHA1, 0},
    {L"SHA-2 (224):", DIGEST_SHA2, 224},
    {L"SHA-2 (256):", DIGEST_SHA2, 256},
    {L"SHA-2 (384):", DIGEST_SHA2, 384},
    {L"SHA-2 (512):", DIGEST_SHA2, 512},
    {L"SHA-3 (224):", DIGEST_SHA3, 224},
    {L"SHA-3 (256):", DIGEST_SHA3, 256},
    {L"SHA-3 (384):", DIGEST_SHA3, 384},
    {L"SHA-3 (512):", DIGEST_SHA3, 512},
};
// clang-format on

// Goes before the path in the report's last line.
inline constexpr wchar_t FILE_PATH_PREFIX[] = L"File Path: ";

using ReportDigests = std::array<Text, REPORT_ROW_COUNT>;

// The eleven digests of the whole file in the table's order, all computed before any is shown;
// a file that cannot be read gives eleven empty texts.
ReportDigests ComputeReportDigests(const Text& path);

// The row's label, one space and the digest upper-cased: "SHA-2 (256): 9F86...". An empty digest
// leaves the label and its space alone.
Text ReportLine(const ReportRow& row, const Text& digest);
