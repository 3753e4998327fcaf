#include "cli/engine_benchmark.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "cli/console/console_lines.h"
#include "sums/named_algorithms.h"
#include "digest/backend_selection.h"
#include "digest/compute_file_digest.h"
#include "digest/register_digest_plugins.h"
#include "digest/shared/processor_features.h"
#include "runtime/main_heap.h"

namespace {

using Clock = std::chrono::steady_clock;

// Long enough to average out a timer tick and a scheduler slice, short enough that the eleven
// rows take about a second.
constexpr std::chrono::milliseconds TIME_PER_ALGORITHM{80};

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// MB/s of the plugin on whole 1 MiB updates of one buffer, as files are fed to it; 0 when the
// plugin is missing or refuses the size.
double MegabytesPerSecond(const ReportRow& row, uint8_t* buffer) {
  const DigestPlugin* plugin = FindDigestPlugin(row.algorithm);
  DigestContext* context = plugin ? plugin->create(row.bits, 0) : nullptr;
  if (!context) return 0;
  plugin->update(context, buffer, DIGEST_READ_SIZE);  // the first touch of buffer and code
  uint64_t bytes = 0;
  const Clock::time_point start = Clock::now();
  do {
    plugin->update(context, buffer, DIGEST_READ_SIZE);
    bytes += DIGEST_READ_SIZE;
  } while (Clock::now() - start < TIME_PER_ALGORITHM);
  const double seconds = SecondsSince(start);
  plugin->finish(context);
  plugin->free(context);
  return static_cast<double>(bytes) / seconds / 1e6;
}

// How long the registration takes, every plugin's choice by speed in it.
double RegistrationMilliseconds() {
  const Clock::time_point start = Clock::now();
  RegisterDigestPlugins();
  return SecondsSince(start) * 1e3;
}

void WriteLine(const std::string& line) {
  WriteConsoleLine(ConsoleStream::OUTPUT, TextFromUtf8(line));
}

}  // namespace

void WriteEngineBenchmark() {
  // Registered before anything else, as at any start: the figure includes reading the features.
  const double registration = RegistrationMilliseconds();
  WriteLine("Processor: " + DescribeProcessor(ThisProcessorIdentity()));
  WriteLine("Features: " + FeatureNames(ThisProcessor()));
  char choice[64];
  std::snprintf(choice, sizeof choice, "Backends chosen by speed in %.2f ms", registration);
  WriteLine(choice);
  WriteLine("");
  auto* buffer = static_cast<uint8_t*>(AllocateFromMainHeap(DIGEST_READ_SIZE));
  if (!buffer) return;
  for (uint32_t i = 0; i < DIGEST_READ_SIZE; ++i) buffer[i] = static_cast<uint8_t>(i * 131 + 7);
  WriteLine("Algorithm   Backend          MB/s");
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    const std::string name = Utf8FromText(algorithm.name);
    const std::string backend = ActiveDigestBackend(algorithm.row->algorithm, algorithm.row->bits);
    char line[128];
    std::snprintf(line, sizeof line, "%-11s %-12s %8.0f", name.c_str(), backend.c_str(),
                  MegabytesPerSecond(*algorithm.row, buffer));
    WriteLine(line);
  }
  ReleaseToMainHeap(buffer);
}
