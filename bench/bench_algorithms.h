#pragma once
// What both benchmarks need of the report's eleven rows: a printable name, the counterpart in
// OpenSSL (CRC32 has none there; zlib's crc32 stands in) and the speed targets.
#include <openssl/evp.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "report/report_table.h"
#include "digest/shared/processor_features.h"

// The row's label without its colon: "SHA-2 (256)".
inline std::string BenchName(const ReportRow& row) {
  const std::string label = Utf8FromText(row.label);
  return label.substr(0, label.size() - 1);
}

// OpenSSL's digest for the row, or null for CRC32.
inline const EVP_MD* OpenSslDigestOf(const ReportRow& row) {
  switch (row.algorithm) {
    case DIGEST_MD5:
      return EVP_md5();
    case DIGEST_SHA1:
      return EVP_sha1();
    case DIGEST_SHA2:
      return row.bits == 224   ? EVP_sha224()
             : row.bits == 256 ? EVP_sha256()
             : row.bits == 384 ? EVP_sha384()
                               : EVP_sha512();
    case DIGEST_SHA3:
      return row.bits == 224   ? EVP_sha3_224()
             : row.bits == 256 ? EVP_sha3_256()
             : row.bits == 384 ? EVP_sha3_384()
                               : EVP_sha3_512();
    default:
      return nullptr;
  }
}

// The speed targets. Each algorithm's throughput is to be at least this times OpenSSL's on the
// same class (CRC32: zlib's, wherever the class has PCLMULQDQ); 0 when the row has none there.
inline double ThroughputTarget(const ReportRow& row, const ProcessorFeatures& features) {
  if (row.algorithm == DIGEST_CRC32) return features.pclmulqdq ? 3.0 : 0.0;
  return row.algorithm == DIGEST_SHA3 ? 1.1 : 1.0;
}

// The whole report is to take at most this times OpenSSL's eleven passes, and rhash's one pass.
inline constexpr double WHOLE_REPORT_TARGET_AGAINST_OPENSSL = 0.9;
inline constexpr double WHOLE_REPORT_TARGET_AGAINST_RHASH = 0.75;

// A ratio as the tables show it, two decimals; targets are judged on it, the noise of a shared
// machine being larger than the rounding.
inline double ShownRatio(double ours, double theirs) {
  return std::round(ours / theirs * 100) / 100;
}

// "≥ 1.00"-style target texts for the tables.
inline std::string AtLeast(double target) {
  char text[16];
  std::snprintf(text, sizeof text, "≥ %.2f", target);
  return text;
}

inline std::string AtMost(double target) {
  char text[16];
  std::snprintf(text, sizeof text, "≤ %.2f", target);
  return text;
}
