#pragma once
// The eleven algorithms as the console companion names them: the name taken by -a, the tag of
// the BSD form and the length of the hexadecimal digest. The engine's id and bits and the
// report label come from the report table's row, in the report's order.
#include <cstddef>
#include <vector>

#include "report/report_table.h"
#include "digest/compute_file_digests.h"
#include "runtime/text.h"

struct CliAlgorithm {
  const wchar_t* name;    // in -a LIST
  const wchar_t* bsdTag;  // "TAG (NAME) = HEX"
  const ReportRow* row;
  size_t hexLength;
};

inline constexpr CliAlgorithm CLI_ALGORITHMS[REPORT_ROW_COUNT] = {
    {L"crc32", L"CRC32", &REPORT_ROWS[0], 8},
    {L"md5", L"MD5", &REPORT_ROWS[1], 32},
    {L"sha1", L"SHA1", &REPORT_ROWS[2], 40},
    {L"sha224", L"SHA224", &REPORT_ROWS[3], 56},
    {L"sha256", L"SHA256", &REPORT_ROWS[4], 64},
    {L"sha384", L"SHA384", &REPORT_ROWS[5], 96},
    {L"sha512", L"SHA512", &REPORT_ROWS[6], 128},
    {L"sha3-224", L"SHA3-224", &REPORT_ROWS[7], 56},
    {L"sha3-256", L"SHA3-256", &REPORT_ROWS[8], 64},
    {L"sha3-384", L"SHA3-384", &REPORT_ROWS[9], 96},
    {L"sha3-512", L"SHA3-512", &REPORT_ROWS[10], 128},
};

using AlgorithmList = std::vector<const CliAlgorithm*>;

// All eleven in the table's order.
AlgorithmList AllAlgorithms();

// The algorithm -a calls `name`, or null.
const CliAlgorithm* FindAlgorithmByName(const Text& name);

// "crc32, md5, ..., sha3-512", for messages.
Text AlgorithmNamesList();

// Those of `candidates` whose digests have `hexLength` digits, in the candidates' order.
AlgorithmList AlgorithmsWithHexLength(const AlgorithmList& candidates, size_t hexLength);

// What the engine is asked for, in the list's order.
std::vector<DigestChoice> DigestChoices(const AlgorithmList& algorithms);
