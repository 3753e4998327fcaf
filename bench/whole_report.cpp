// The eleven-line report of a 1 GiB file held in the page cache: checksums-cli against rhash's
// single pass over the same eleven algorithms, and against the sum of eleven single-algorithm
// passes of OpenSSL (zlib's crc32 for CRC32), each reading the file in 1 MiB pieces as the engine
// does; and against the engine's one read feeding all eleven (ComputeFileDigests) on one worker
// and on two. They are timed in turn, round after round, so that the load of a shared machine
// falls on all of them alike; the medians make the ratios. All must report the same digests.
//
// Usage: whole_report CHECKSUMS_CLI FILE [ROUNDS]. FILE is made (1 GiB of pseudo-random bytes)
// when it is missing or of another size.
#include <fcntl.h>
#include <openssl/evp.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_algorithms.h"
#include "bench/one_pass.h"
#include "digest/compute_file_digest.h"

extern char** environ;

namespace {

constexpr off_t FILE_BYTES = off_t{1} << 30;
constexpr int DEFAULT_ROUNDS = 3;
constexpr unsigned ONE_PASS_WORKERS[] = {1, 2};
constexpr size_t ONE_PASS_RUNS = std::size(ONE_PASS_WORKERS);
const std::vector<std::string> RHASH_OPTIONS = {
    "--crc32",    "--md5",      "--sha1",     "--sha224",   "--sha256",   "--sha384",
    "--sha512",   "--sha3-224", "--sha3-256", "--sha3-384", "--sha3-512",
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool MakeFileIfNeeded(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) == 0 && status.st_size == FILE_BYTES) return true;
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
  return std::fclose(file) == 0;
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
    ReadInPieces(path, [&](const uint8_t* bytes, size_t count) {
      crc = crc32_z(crc, bytes, count);
    });
    const uint8_t big[4] = {static_cast<uint8_t>(crc >> 24), static_cast<uint8_t>(crc >> 16),
                            static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc)};
    return Hex(big, 4);
  }
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  EVP_DigestInit_ex(context, digest, nullptr);
  ReadInPieces(path, [&](const uint8_t* bytes, size_t count) {
    EVP_DigestUpdate(context, bytes, count);
  });
  uint8_t result[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  EVP_DigestFinal_ex(context, result, &length);
  EVP_MD_CTX_free(context);
  return Hex(result, length);
}

// Runs a program, collecting its standard output; false when it cannot run or fails.
bool RunProgram(const std::vector<std::string>& arguments, std::string& output) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  char chunk[4096];
  ssize_t got;
  output.clear();
  while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0) output.append(chunk, got);
  close(pipeEnds[0]);
  if (spawned != 0) return false;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

struct Timings {
  std::vector<double> ours, rhash, theirSum;
  std::array<std::vector<double>, REPORT_ROW_COUNT> theirPasses;
  std::array<std::vector<double>, ONE_PASS_RUNS> onePass;  // by ONE_PASS_WORKERS
};

// One round: the contenders in turn. False when their digests disagree.
bool MeasureRound(const std::string& cli, const std::string& path, Timings& timings) {
  std::string ourOutput, rhashOutput;
  Clock::time_point start = Clock::now();
  if (!RunProgram({cli, path}, ourOutput)) return false;
  timings.ours.push_back(SecondsSince(start));

  std::vector<std::string> rhashCommand = {"rhash"};
  rhashCommand.insert(rhashCommand.end(), RHASH_OPTIONS.begin(), RHASH_OPTIONS.end());
  rhashCommand.push_back(path);
  start = Clock::now();
  if (!RunProgram(rhashCommand, rhashOutput)) return false;
  timings.rhash.push_back(SecondsSince(start));

  std::vector<std::string> theirDigests;
  double sum = 0;
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    start = Clock::now();
    theirDigests.push_back(TheirPass(REPORT_ROWS[i], path));
    const double seconds = SecondsSince(start);
    timings.theirPasses[i].push_back(seconds);
    sum += seconds;
  }
  timings.theirSum.push_back(sum);

  for (size_t i = 0; i < ONE_PASS_RUNS; ++i) {
    std::vector<std::string> oneReadDigests;
    timings.onePass[i].push_back(TimeOnePass(path, ONE_PASS_WORKERS[i], oneReadDigests));
    if (oneReadDigests != theirDigests) {
      std::fprintf(stderr, "the one-read digests disagree\n");
      return false;
    }
  }

  // checksums-cli names the path after the digests, rhash before them.
  std::vector<std::string> ours = HexWords(ourOutput);
  std::vector<std::string> rhash =
      HexWords(rhashOutput.substr(std::min(path.size(), rhashOutput.size())));
  ours.resize(std::min<size_t>(ours.size(), REPORT_ROW_COUNT));
  rhash.resize(std::min<size_t>(rhash.size(), REPORT_ROW_COUNT));
  if (ours != theirDigests || rhash != theirDigests) {
    std::fprintf(stderr, "the digests disagree\n");
    return false;
  }
  return true;
}

void PrintTable(const Timings& timings, int rounds) {
  const double ours = Median(timings.ours), rhash = Median(timings.rhash);
  const double theirSum = Median(timings.theirSum);
  std::printf("\nWhole report of a 1 GiB file in the page cache, median of %d rounds:\n\n", rounds);
  std::printf("| Contender | Seconds (median) | Fastest | Slowest |\n|---|---:|---:|---:|\n");
  auto row = [](const char* name, const std::vector<double>& values) {
    std::printf("| %s | %.2f | %.2f | %.2f |\n", name, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
  };
  row("checksums-cli, eleven passes", timings.ours);
  row("rhash, one pass over the eleven", timings.rhash);
  row("OpenSSL and zlib, eleven single passes (sum)", timings.theirSum);
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    const std::string name = "- " + BenchName(REPORT_ROWS[i]) + " pass";
    row(name.c_str(), timings.theirPasses[i]);
  }
  for (size_t i = 0; i < ONE_PASS_RUNS; ++i) {
    const std::string name = "ComputeFileDigests, one read, " +
                             std::to_string(ONE_PASS_WORKERS[i]) + " worker(s)";
    row(name.c_str(), timings.onePass[i]);
  }
  std::printf("\n| Ratio | Value |\n|---|---:|\n");
  std::printf("| checksums-cli / rhash | %.2f |\n", ours / rhash);
  std::printf("| checksums-cli / sum of the eleven single passes | %.2f |\n", ours / theirSum);
  for (size_t i = 0; i < ONE_PASS_RUNS; ++i) {
    std::printf("| one read, %u worker(s) / rhash | %.2f |\n", ONE_PASS_WORKERS[i],
                Median(timings.onePass[i]) / rhash);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s CHECKSUMS_CLI FILE [ROUNDS]\n", argv[0]);
    return 2;
  }
  const std::string cli = argv[1], path = argv[2];
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : DEFAULT_ROUNDS;
  if (!MakeFileIfNeeded(path)) {
    std::fprintf(stderr, "cannot make %s\n", path.c_str());
    return 1;
  }
  ReadInPieces(path, [](const uint8_t*, size_t) {});  // into the page cache

  Timings timings;
  for (int round = 1; round <= rounds; ++round) {
    std::fprintf(stderr, "round %d of %d\n", round, rounds);
    if (!MeasureRound(cli, path, timings)) return 1;
  }
  PrintTable(timings, rounds);
  return 0;
}
