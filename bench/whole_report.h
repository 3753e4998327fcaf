#pragma once
// The eleven-line report of a 1 GiB file held in the page cache: our eleven passes with the
// backends of a processor class, against the sum of eleven single passes of OpenSSL held to the
// class (zlib's crc32 for CRC32) and against rhash's one pass over all eleven, which no mask holds
// to a class. Every pass reads the file in 1 MiB pieces as the engine does; all must agree on
// every digest.
#include <string>
#include <vector>

#include "tests/support/processor_classes.h"

// FILE is made (1 GiB of pseudo-random bytes) when it is missing or of another size, then read
// once into the page cache. False when it cannot be made.
bool PrepareReportFile(const std::string& path);

struct RhashRuns {
  std::string version;               // as rhash --version gives it
  std::vector<double> seconds;       // one a round
  std::vector<std::string> digests;  // in the report's order
};

// rhash's one pass over the eleven, `rounds` times. Empty when rhash cannot run.
RhashRuns MeasureRhash(const std::string& path, int rounds);

// Our passes and OpenSSL's for the class, round after round, printed as the class's tables beside
// rhash's; false when the digests disagree or OpenSSL's passes cannot run.
bool MeasureWholeReport(const ProcessorClass& processorClass, const std::string& path, int rounds,
                        const RhashRuns& rhash);

// OpenSSL's eleven single passes, one line each: seconds, then the digest. The benchmark runs
// itself with this option and the file, and OPENSSL_ia32cap set for a class.
inline constexpr char OPENSSL_PASSES_OPTION[] = "--openssl-passes";
int PrintOpenSslPasses(const std::string& path);
