// Throughput of the digest engine on 1 MiB updates, for each algorithm on every backend this
// processor runs, measured in the same run as OpenSSL's EVP digests and zlib's crc32 on the same
// buffer. Repetitions are interleaved at random so that the load of the shared machine falls on
// both sides alike; the medians make the closing table of ratios.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_algorithms.h"
#include "digest/backend_selection.h"
#include "digest/compute_file_digest.h"
#include "digest/register_digest_plugins.h"
#include "runtime/main_heap.h"

namespace {

constexpr uint32_t UPDATE_BYTES = DIGEST_READ_SIZE;
constexpr char THEIRS[] = "theirs";

// One buffer for every measurement, from the heap the framework reads into.
uint8_t* UpdateBuffer() {
  static uint8_t* const buffer = [] {
    auto* bytes = static_cast<uint8_t*>(AllocateFromMainHeap(UPDATE_BYTES));
    uint32_t seed = 1;
    for (uint32_t i = 0; i < UPDATE_BYTES; ++i) {
      seed = seed * 1664525 + 1013904223;
      bytes[i] = static_cast<uint8_t>(seed >> 24);
    }
    return bytes;
  }();
  return buffer;
}

void Ours(benchmark::State& state, const ReportRow& row, const std::string& backend) {
  UseDigestBackend(row.algorithm, row.bits, backend);
  const DigestPlugin* plugin = FindDigestPlugin(row.algorithm);
  DigestContext* context = plugin->create(row.bits, 0);
  uint8_t* buffer = UpdateBuffer();
  for (auto _ : state) {
    plugin->update(context, buffer, UPDATE_BYTES);
    benchmark::ClobberMemory();
  }
  plugin->free(context);
  UseChosenDigestBackend(row.algorithm, row.bits);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * UPDATE_BYTES);
}

void Theirs(benchmark::State& state, const ReportRow& row) {
  const uint8_t* buffer = UpdateBuffer();
  const EVP_MD* digest = OpenSslDigestOf(row);
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  if (digest) EVP_DigestInit_ex(context, digest, nullptr);
  uLong crc = 0;
  for (auto _ : state) {
    if (digest) {
      EVP_DigestUpdate(context, buffer, UPDATE_BYTES);
    } else {
      crc = crc32_z(crc, buffer, UPDATE_BYTES);
      benchmark::DoNotOptimize(crc);
    }
  }
  EVP_MD_CTX_free(context);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * UPDATE_BYTES);
}

// Benchmarks are named "<algorithm>/<backend or theirs>".
void RegisterEveryBenchmark() {
  for (const ReportRow& row : REPORT_ROWS) {
    const std::string name = BenchName(row);
    for (const std::string& backend : DigestBackendNames(row.algorithm, row.bits)) {
      if (!ProcessorRunsDigestBackend(row.algorithm, row.bits, backend)) continue;
      benchmark::RegisterBenchmark((name + "/" + backend).c_str(), Ours, row, backend)
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark((name + "/" + THEIRS).c_str(), Theirs, row)
        ->Unit(benchmark::kMillisecond);
  }
}

// Keeps the median throughput of every benchmark for the closing table.
class MedianCollector : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal: `make bench` also keeps the output in a file.
  MedianCollector() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const auto found = run.counters.find("bytes_per_second");
      if (found != run.counters.end()) medians[run.run_name.str()] = found->second.value / 1e6;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;  // MB/s by benchmark name
};

void PrintRatios(const std::map<std::string, double>& megabytesPerSecond) {
  std::printf("\n| Algorithm | Backend | Ours, MB/s | Theirs, MB/s | Ours / theirs |\n");
  std::printf("|---|---|---:|---:|---:|\n");
  for (const ReportRow& row : REPORT_ROWS) {
    const std::string name = BenchName(row);
    const auto theirs = megabytesPerSecond.find(name + "/" + THEIRS);
    if (theirs == megabytesPerSecond.end()) continue;
    const std::string chosen = ActiveDigestBackend(row.algorithm, row.bits);
    for (const std::string& backend : DigestBackendNames(row.algorithm, row.bits)) {
      const auto ours = megabytesPerSecond.find(name + "/" + backend);
      if (ours == megabytesPerSecond.end()) continue;
      std::printf("| %s | %s%s | %.0f | %.0f | %.2f |\n", name.c_str(), backend.c_str(),
                  backend == chosen ? " (chosen)" : "", ours->second, theirs->second,
                  ours->second / theirs->second);
    }
  }
  std::printf("\nTheirs: OpenSSL %s EVP digests; CRC32: zlib %s crc32_z.\n",
              OPENSSL_VERSION_STR, ZLIB_VERSION);
}

}  // namespace

int main(int argc, char** argv) {
  RegisterDigestPlugins();
  RegisterEveryBenchmark();
  // Defaults that make the ratios hold on a shared machine; the command line may override them.
  std::vector<char*> arguments = {argv[0]};
  std::string defaults[] = {"--benchmark_repetitions=5",
                            "--benchmark_enable_random_interleaving=true",
                            "--benchmark_report_aggregates_only=true",
                            "--benchmark_min_time=0.2"};
  for (std::string& option : defaults) arguments.push_back(option.data());
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  MedianCollector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintRatios(reporter.medians);
  return 0;
}
