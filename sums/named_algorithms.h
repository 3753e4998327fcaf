#pragma once
// The eleven algorithms as the console companion names them: the name taken by -a, the tags that
// sums lines write before a name and the name a check result gives. The engine's id and bits, the
// report label and the digest's length come from the report table's row, in the report's order.
#include <cstddef>
#include <vector>

#include "digest/compute_file_digests.h"
#include "report/report_table.h"
#include "runtime/text.h"

struct NamedAlgorithm {
  const wchar_t* name;         // in -a LIST
  const wchar_t* bsdTag;       // "TAG (NAME) = HEX"
  const wchar_t* opensslTag;   // "TAG(NAME)= HEX" as OpenSSL 3 writes it, where it differs; or null
  const wchar_t* displayName;  // the standard's name, as a check result names the one that matched
  const ReportRow* row;
};

// clang-format off
inline constexpr NamedAlgorithm NAMED_ALGORITHMS[REPORT_ROW_COUNT] = {
    {L"crc32", L"CRC32", nullptr, L"CRC32", &REPORT_ROWS[0]},
    {L"md5", L"MD5", nullptr, L"MD5", &REPORT_ROWS[1]},
    {L"sha1", L"SHA1", nullptr, L"SHA-1", &REPORT_ROWS[2]},
    {L"sha224", L"SHA224", L"SHA2-224", L"SHA-224", &REPORT_ROWS[3]},
    {L"sha256", L"SHA256", L"SHA2-256", L"SHA-256", &REPORT_ROWS[4]},
    {L"sha384", L"SHA384", L"SHA2-384", L"SHA-384", &REPORT_ROWS[5]},
    {L"sha512", L"SHA512", L"SHA2-512", L"SHA-512", &REPORT_ROWS[6]},
    {L"sha3-224", L"SHA3-224", nullptr, L"SHA3-224", &REPORT_ROWS[7]},
    {L"sha3-256", L"SHA3-256", nullptr, L"SHA3-256", &REPORT_ROWS[8]},
    {L"sha3-384", L"SHA3-384", nullptr, L"SHA3-384", &REPORT_ROWS[9]},
    {L"sha3-512", L"SHA3-512", nullptr, L"SHA3-512", &REPORT_ROWS[10]},
};
// clang-format on

// The number of hexadecimal digits of the algorithm's digests: a quarter of the row's bits, or of
// the one size of the algorithms whose rows give no bits.
constexpr size_t HexLength(const NamedAlgorithm& algorithm) {
  const ReportRow& row = *algorithm.row;
  if (row.bits != 0) return static_cast<size_t>(row.bits) / 4;
  const size_t bits = row.algorithm == DIGEST_CRC32 ? 32 : row.algorithm == DIGEST_MD5 ? 128 : 160;
  return bits / 4;
}

using AlgorithmList = std::vector<const NamedAlgorithm*>;

// All eleven in the table's order.
AlgorithmList AllAlgorithms();

// The algorithm whose -a name, either tag or standard's name (SHA-256) is `name`, in any case;
// or null.
const NamedAlgorithm* FindAlgorithmByName(const Text& name);

// "crc32, md5, ..., sha3-512", for messages.
Text AlgorithmNamesList();

// Those of `candidates` whose digests have `hexLength` digits, in the candidates' order.
AlgorithmList AlgorithmsWithHexLength(const AlgorithmList& candidates, size_t hexLength);

// True when some algorithm's digests have `hexLength` digits.
bool IsDigestLength(size_t hexLength);

// What the engine is asked for, in the list's order.
std::vector<DigestChoice> DigestChoices(const AlgorithmList& algorithms);

// Upper-case ASCII letters made lower case, for names compared without regard to case.
Text LowerCaseAscii(const Text& text);
