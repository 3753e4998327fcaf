// Each algorithm's plugin on the backend the class gets, measured in the same run as OpenSSL's EVP
// digests and zlib's crc32 on the same buffer, and on every other backend the class runs, so that
// the table shows the choice by speed beside the fastest. Repetitions are interleaved at random so
// that the load of the shared machine falls on both sides alike; the medians make the table. Google
// Benchmark's own report goes to the standard error, the table to the standard output.
#include "bench/digest_throughput.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_algorithms.h"
#include "digest/backend_selection.h"
#include "digest/compute_file_digest.h"
#include "runtime/main_heap.h"

namespace {

constexpr uint32_t UPDATE_BYTES = DIGEST_READ_SIZE;
constexpr char OURS[] = "ours";
constexpr char THEIRS[] = "theirs";
constexpr char PINNED[] = "backend:";  // "<algorithm>/backend:<name>"

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

void Ours(benchmark::State& state, const ReportRow& row) {
  const DigestPlugin* plugin = FindDigestPlugin(row.algorithm);
  DigestContext* context = plugin->create(row.bits, 0);
  uint8_t* buffer = UpdateBuffer();
  for (auto _ : state) {
    plugin->update(context, buffer, UPDATE_BYTES);
    benchmark::ClobberMemory();
  }
  plugin->free(context);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * UPDATE_BYTES);
}

// The plugin with another backend the class runs in place of the chosen one, for the run.
void Pinned(benchmark::State& state, const ReportRow& row, const std::string& backend,
            const ProcessorFeatures& features) {
  const std::string chosen = ActiveDigestBackend(row.algorithm, row.bits);
  UseDigestBackend(row.algorithm, row.bits, backend, features);
  Ours(state, row);
  UseDigestBackend(row.algorithm, row.bits, chosen, features);
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

// Benchmarks are named "<algorithm>/ours", "<algorithm>/theirs" and, for each other backend the
// class runs, "<algorithm>/backend:<name>".
void RegisterEveryBenchmark(const ProcessorFeatures& features) {
  for (const ReportRow& row : REPORT_ROWS) {
    const std::string name = BenchName(row);
    benchmark::RegisterBenchmark((name + "/" + OURS).c_str(), Ours, row)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "/" + THEIRS).c_str(), Theirs, row)
        ->Unit(benchmark::kMillisecond);
    const std::string chosen = ActiveDigestBackend(row.algorithm, row.bits);
    for (const std::string& backend : DigestBackendNames(row.algorithm, row.bits)) {
      if (backend == chosen ||
          !ProcessorRunsDigestBackend(row.algorithm, row.bits, backend, features))
        continue;
      benchmark::RegisterBenchmark((name + "/" + PINNED + backend).c_str(), Pinned, row, backend,
                                   features)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

struct Fastest {
  std::string backend;
  double megabytesPerSecond;
};

// The fastest of the row's backends that ran, the chosen one (`ours`) among them.
Fastest FastestBackend(const ReportRow& row, double ours,
                       const std::map<std::string, double>& megabytesPerSecond) {
  Fastest fastest{ActiveDigestBackend(row.algorithm, row.bits), ours};
  const std::string prefix = BenchName(row) + "/" + PINNED;
  for (const auto& [name, speed] : megabytesPerSecond) {
    if (name.rfind(prefix, 0) != 0 || speed <= fastest.megabytesPerSecond) continue;
    fastest = {name.substr(prefix.size()), speed};
  }
  return fastest;
}

// Keeps the median throughput of every benchmark for the table.
class MedianCollector : public benchmark::ConsoleReporter {
 public:
  MedianCollector() : ConsoleReporter(isatty(STDERR_FILENO) ? OO_Defaults : OO_Tabular) {
    SetOutputStream(&std::cerr);
  }

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

void PrintTable(const ProcessorClass& processorClass,
                const std::map<std::string, double>& megabytesPerSecond) {
  std::printf(
      "| Algorithm | Backend | Ours, MB/s | Fastest backend, MB/s | Chosen / fastest | "
      "Theirs, MB/s | Ours / theirs | Target | Met |\n"
      "|---|---|---:|---|---:|---:|---:|---:|---|\n");
  for (const ReportRow& row : REPORT_ROWS) {
    const std::string name = BenchName(row);
    const auto ourRun = megabytesPerSecond.find(name + "/" + OURS);
    const auto theirRun = megabytesPerSecond.find(name + "/" + THEIRS);
    // A --benchmark_filter may leave rows out; the table shows the rows that ran.
    if (ourRun == megabytesPerSecond.end() || theirRun == megabytesPerSecond.end()) continue;
    const double ours = ourRun->second;
    const double theirs = theirRun->second;
    const double ratio = ShownRatio(ours, theirs);
    const double target = ThroughputTarget(row, processorClass.features);
    const Fastest fastest = FastestBackend(row, ours, megabytesPerSecond);
    std::printf("| %s | %s | %.0f | %s, %.0f | %.2f | %.0f%s | %.2f | %s | %s |\n", name.c_str(),
                ActiveDigestBackend(row.algorithm, row.bits).c_str(), ours, fastest.backend.c_str(),
                fastest.megabytesPerSecond, ShownRatio(ours, fastest.megabytesPerSecond), theirs,
                OpenSslDigestOf(row) ? "" : " (zlib)", ratio,
                target > 0 ? AtLeast(target).c_str() : "none",
                target == 0       ? ""
                : ratio >= target ? "yes"
                                  : "no");
  }
  std::printf(
      "\nTheirs: OpenSSL %s EVP digests held to the class; CRC32: zlib %s crc32_z, which "
      "no mask holds.\n\n",
      OPENSSL_VERSION_STR, ZLIB_VERSION);
}

}  // namespace

int MeasureThroughput(const ProcessorClass& processorClass, int argc, char** argv) {
  const PinnedProcessorClass pinned(processorClass);
  if (!pinned.Pinned()) return 1;
  RegisterEveryBenchmark(processorClass.features);
  // Defaults that make the ratios hold on a shared machine; the command line may override them.
  std::vector<char*> arguments = {argv[0]};
  std::string defaults[] = {"--benchmark_repetitions=5",
                            "--benchmark_enable_random_interleaving=true",
                            "--benchmark_report_aggregates_only=true", "--benchmark_min_time=0.2"};
  for (std::string& option : defaults) arguments.push_back(option.data());
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  MedianCollector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintTable(processorClass, reporter.medians);
  return 0;
}
