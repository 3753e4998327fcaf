#include "bench/whole_report.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "bench/bench_algorithms.h"
#include "bench/class_runs.h"
#include "digest/compute_file_digest.h"

namespace {

constexpr off_t FILE_BYTES = off_t{1} << 30;
const std::vector<std::string> RHASH_OPTIONS = {
    "--crc32",  "--md5",      "--sha1",     "--sha224",   "--sha256",   "--sha384",
    "--sha512", "--sha3-224", "--sha3-256", "--sha3-384", "--sha3-512",
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Calls consume(bytes, count) for each piece of the file, read as the engine reads it.
template <typename Consume>
bool ReadInPieces(const std::string& path, Consume consume) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  std::vector<uint8_t> buffer(DIGEST_READ_SIZE);
  ssize_t got;
  while ((got = read(fd, buffer.data(), buffer.size())) > 0) {
    consume(buffer.data(), static_cast<size_t>(got));
  }
  close(fd);
  return got == 0;
}

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string text;
  char pair[3];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    text += pair;
  }
  return text;
}

// One single-algorithm pass of the counterpart library; gives the digest.
std::string TheirPass(const ReportRow& row, const std::string& path) {
  const EVP_MD* digest = OpenSslDigestOf(row);
  if (!digest) {
    uLong crc = 0;
    ReadInPieces(path,
                 [&](const uint8_t* bytes, size_t count) { crc = crc32_z(crc, bytes, count); });
    const uint8_t big[4] = {static_cast<uint8_t>(crc >> 24), static_cast<uint8_t>(crc >> 16),
                            static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc)};
    return Hex(big, 4);
  }
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  EVP_DigestInit_ex(context, digest, nullptr);
  ReadInPieces(
      path, [&](const uint8_t* bytes, size_t count) { EVP_DigestUpdate(context, bytes, count); });
  uint8_t result[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  EVP_DigestFinal_ex(context, result, &length);
  EVP_MD_CTX_free(context);
  return Hex(result, length);
}

// The hexadecimal words of a program's output, lower-cased, in order.
std::vector<std::string> HexWords(const std::string& output) {
  std::vector<std::string> words;
  std::string word;
  for (char c : output + " ") {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      continue;
    }
    if (word.size() >= 8) words.push_back(word);
    word.clear();
  }
  return words;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One contender's passes: seconds of each pass by round, and of all eleven by round.
struct Passes {
  std::array<std::vector<double>, REPORT_ROW_COUNT> each;
  std::vector<double> all;

  void Add(const std::array<double, REPORT_ROW_COUNT>& round) {
    double sum = 0;
    for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
      each[i].push_back(round[i]);
      sum += round[i];
    }
    all.push_back(sum);
  }
};

// Our eleven passes with the backends pinned now; false when a digest disagrees with `expected`.
bool OurRound(const std::string& path, const std::vector<std::string>& expected, Passes& ours) {
  const Text file = TextFromUtf8(path);
  std::array<double, REPORT_ROW_COUNT> seconds;
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    const Clock::time_point start = Clock::now();
    const Text digest = ComputeFileDigest(file, REPORT_ROWS[i].algorithm, REPORT_ROWS[i].bits);
    seconds[i] = SecondsSince(start);
    if (Utf8FromText(digest) != expected[i]) return false;
  }
  ours.Add(seconds);
  return true;
}

// OpenSSL's eleven passes in a child held to the class; gives their digests, empty on failure.
std::vector<std::string> TheirRound(const ProcessorClass& processorClass, const std::string& path,
                                    Passes& theirs) {
  std::string output;
  if (!RunProgram({ThisExecutable(), OPENSSL_PASSES_OPTION, path},
                  OpenSslCapabilityMask(processorClass.features), &output)) {
    return {};
  }
  std::istringstream lines(output);
  std::array<double, REPORT_ROW_COUNT> seconds;
  std::vector<std::string> digests(REPORT_ROW_COUNT);
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    if (!(lines >> seconds[i] >> digests[i])) return {};
  }
  theirs.Add(seconds);
  return digests;
}

void PrintTables(const Passes& ours, const Passes& theirs, const RhashRuns& rhash) {
  std::printf("Whole report of a 1 GiB file in the page cache, median of %zu rounds:\n\n",
              ours.all.size());
  std::printf("| Pass | Ours, s | Theirs, s |\n|---|---:|---:|\n");
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    std::printf("| %s | %.2f | %.2f%s |\n", BenchName(REPORT_ROWS[i]).c_str(), Median(ours.each[i]),
                Median(theirs.each[i]), OpenSslDigestOf(REPORT_ROWS[i]) ? "" : " (zlib)");
  }
  const double ourAll = Median(ours.all), theirAll = Median(theirs.all);
  const double rhashAll = Median(rhash.seconds);
  std::printf("| All eleven | %.2f | %.2f |\n\n", ourAll, theirAll);

  std::printf("| Our eleven passes against | Seconds | Ours / it | Target | Met |\n");
  std::printf("|---|---:|---:|---:|---|\n");
  auto ratioRow = [](const char* contender, double ours, double seconds, double target) {
    const double ratio = ShownRatio(ours, seconds);
    std::printf("| %s | %.2f | %.2f | %s | %s |\n", contender, seconds, ratio,
                AtMost(target).c_str(), ratio <= target ? "yes" : "no");
  };
  ratioRow("theirs, eleven passes (sum)", ourAll, theirAll, WHOLE_REPORT_TARGET_AGAINST_OPENSSL);
  ratioRow("rhash, one pass (not held to the class)", ourAll, rhashAll,
           WHOLE_REPORT_TARGET_AGAINST_RHASH);
  std::printf("\n");
}

}  // namespace

bool PrepareReportFile(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || status.st_size != FILE_BYTES) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::vector<uint64_t> chunk(DIGEST_READ_SIZE / sizeof(uint64_t));
    uint64_t state = 0x9E3779B97F4A7C15;
    for (off_t written = 0; written < FILE_BYTES; written += DIGEST_READ_SIZE) {
      for (uint64_t& word : chunk) {  // xorshift64
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        word = state;
      }
      std::fwrite(chunk.data(), 1, DIGEST_READ_SIZE, file);
    }
    if (std::fclose(file) != 0) return false;
  }
  return ReadInPieces(path, [](const uint8_t*, size_t) {});
}

RhashRuns MeasureRhash(const std::string& path, int rounds) {
  std::vector<std::string> command = {"rhash"};
  command.insert(command.end(), RHASH_OPTIONS.begin(), RHASH_OPTIONS.end());
  command.push_back(path);
  RhashRuns runs;
  if (!RunProgram({"rhash", "--version"}, "", &runs.version)) return {};
  runs.version.erase(runs.version.find_last_not_of("\n") + 1);
  for (int round = 0; round < rounds; ++round) {
    std::string output;
    const Clock::time_point start = Clock::now();
    if (!RunProgram(command, "", &output)) return {};
    runs.seconds.push_back(SecondsSince(start));
    // rhash names the path before the digests.
    runs.digests = HexWords(output.substr(std::min(path.size(), output.size())));
  }
  runs.digests.resize(std::min<size_t>(runs.digests.size(), REPORT_ROW_COUNT));
  return runs;
}

bool MeasureWholeReport(const ProcessorClass& processorClass, const std::string& path, int rounds,
                        const RhashRuns& rhash) {
  const PinnedProcessorClass pinned(processorClass);
  if (!pinned.Pinned()) return false;
  Passes ours, theirs;
  for (int round = 1; round <= rounds; ++round) {
    std::fprintf(stderr, "%s: whole report, round %d of %d\n", processorClass.name, round, rounds);
    const std::vector<std::string> theirDigests = TheirRound(processorClass, path, theirs);
    if (theirDigests.empty()) {
      std::fprintf(stderr, "OpenSSL's passes did not run\n");
      return false;
    }
    if (theirDigests != rhash.digests || !OurRound(path, theirDigests, ours)) {
      std::fprintf(stderr, "the digests disagree\n");
      return false;
    }
  }
  PrintTables(ours, theirs, rhash);
  return true;
}

int PrintOpenSslPasses(const std::string& path) {
  for (const ReportRow& row : REPORT_ROWS) {
    const Clock::time_point start = Clock::now();
    const std::string digest = TheirPass(row, path);
    std::printf("%.4f %s\n", SecondsSince(start), digest.c_str());
  }
  return 0;
}
