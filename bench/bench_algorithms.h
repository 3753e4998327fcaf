#pragma once
// What both benchmarks need of the report's eleven rows: a printable name and the counterpart
// in OpenSSL (CRC32 has none there; zlib's crc32 stands in).
#include <openssl/evp.h>

#include <string>

#include "app/report_table.h"

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
      return row.bits == 224 ? EVP_sha224()
             : row.bits == 256 ? EVP_sha256()
             : row.bits == 384 ? EVP_sha384()
                               : EVP_sha512();
    case DIGEST_SHA3:
      return row.bits == 224 ? EVP_sha3_224()
             : row.bits == 256 ? EVP_sha3_256()
             : row.bits == 384 ? EVP_sha3_384()
                               : EVP_sha3_512();
    default:
      return nullptr;
  }
}
