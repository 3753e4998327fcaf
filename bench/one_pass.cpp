#include "bench/one_pass.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "report/report_table.h"
#include "digest/compute_file_digests.h"

namespace {

constexpr unsigned WORKER_COUNTS[] = {1, 2};
constexpr double ONE_PASS_TARGET_AGAINST_RHASH = 0.55;  // with two workers

// Seconds taken with `workers` threads; false in `agrees` when a digest differs from `expected`.
double TimeOnePass(const Text& file, unsigned workers, const std::vector<std::string>& expected,
                   bool& agrees) {
  std::vector<DigestChoice> choices;
  for (const ReportRow& row : REPORT_ROWS) choices.push_back({row.algorithm, row.bits});
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Text> texts = ComputeFileDigests(file, choices, workers);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  for (size_t i = 0; i < texts.size(); ++i) agrees &= Utf8FromText(texts[i]) == expected[i];
  return seconds.count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

bool MeasureOnePass(const std::string& path, int rounds, const RhashRuns& rhash) {
  const Text file = TextFromUtf8(path);
  std::vector<double> seconds[std::size(WORKER_COUNTS)];
  bool agrees = true;
  for (int round = 1; round <= rounds; ++round) {
    std::fprintf(stderr, "one read of all eleven, round %d of %d\n", round, rounds);
    for (size_t i = 0; i < std::size(WORKER_COUNTS); ++i) {
      seconds[i].push_back(TimeOnePass(file, WORKER_COUNTS[i], rhash.digests, agrees));
    }
  }
  if (!agrees) {
    std::fprintf(stderr, "the one-read digests disagree\n");
    return false;
  }
  const double rhashAll = Median(rhash.seconds);
  std::printf("## One read for all eleven digests (checksums-cli), this processor's backends\n\n");
  std::printf("| Workers | Seconds (median of %d) | / rhash's one pass (%.2f s) | Target |\n",
              rounds, rhashAll);
  std::printf("|---|---:|---:|---:|\n");
  for (size_t i = 0; i < std::size(WORKER_COUNTS); ++i) {
    const double median = Median(seconds[i]);
    std::printf("| %u | %.2f | %.2f |", WORKER_COUNTS[i], median, median / rhashAll);
    if (WORKER_COUNTS[i] == 2) std::printf(" <= %.2f", ONE_PASS_TARGET_AGAINST_RHASH);
    std::printf(" |\n");
  }
  std::printf("\n");
  return true;
}
