#include "cli/engine_benchmark.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstdio>
#include <string>

#include "cli/console/console_lines.h"
#include "sums/named_algorithms.h"
#include "digest/backend_selection.h"
#include "digest/compute_file_digest.h"
#include "digest/file/digest_file.h"
#include "digest/register_digest_plugins.h"
#include "digest/shared/processor_features.h"
#include "runtime/main_heap.h"

namespace {

using Clock = std::chrono::steady_clock;

// One run: whole 1 MiB updates of one buffer, as a file is fed, for this long. Runs are repeated
// until the best two of each backend agree within RUNS_AGREE, at most MOST_RUNS; some forty
// backends then take about five seconds.
constexpr std::chrono::milliseconds RUN_TIME{40};
constexpr double RUNS_AGREE = 0.02;
constexpr int MOST_RUNS = 5;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// MB/s of one run of the plugin with the backend it has now; 0 when the plugin is missing or
// refuses the size.
double RunMegabytesPerSecond(const ReportRow& row, uint8_t* buffer) {
  const DigestPlugin* plugin = FindDigestPlugin(row.algorithm);
  DigestContext* context = plugin ? plugin->create(row.bits, 0) : nullptr;
  if (!context) return 0;
  plugin->update(context, buffer, DIGEST_READ_SIZE);  // the first touch of the code
  uint64_t bytes = 0;
  const Clock::time_point start = Clock::now();
  do {
    plugin->update(context, buffer, DIGEST_READ_SIZE);
    bytes += DIGEST_READ_SIZE;
  } while (Clock::now() - start < RUN_TIME);
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
  FlushConsoleOutput();  // a line as soon as it is measured: the whole takes seconds
}

struct BackendSpeed {
  std::string name;
  double megabytesPerSecond;  // the best run's
  double second;              // the second best's
};

// Whether the best two runs agree.
bool Settled(const BackendSpeed& speed) {
  return speed.second >= speed.megabytesPerSecond * (1 - RUNS_AGREE);
}

// Every backend of the row that this processor runs, in the list's order, with its speed: rounds
// of one run of each, so that a moment's load or a clock's change meets them all alike, until the
// best two runs of each agree. The plugin is left on `inUse`.
std::vector<BackendSpeed> MeasureBackends(const ReportRow& row, const std::string& inUse,
                                          uint8_t* buffer) {
  std::vector<BackendSpeed> speeds;
  for (const std::string& name : DigestBackendNames(row.algorithm, row.bits)) {
    if (ProcessorRunsDigestBackend(row.algorithm, row.bits, name)) speeds.push_back({name, 0, 0});
  }
  for (int round = 0; round < MOST_RUNS; ++round) {
    for (BackendSpeed& speed : speeds) {
      UseDigestBackend(row.algorithm, row.bits, speed.name);
      const double run = RunMegabytesPerSecond(row, buffer);
      speed.second = std::max(speed.second, std::min(run, speed.megabytesPerSecond));
      speed.megabytesPerSecond = std::max(speed.megabytesPerSecond, run);
    }
    if (std::all_of(speeds.begin(), speeds.end(), Settled)) break;
  }
  UseDigestBackend(row.algorithm, row.bits, inUse);
  return speeds;
}

// "chosen", with its share of the fastest's speed where another was faster; "pinned".
std::string Marks(const BackendSpeed& backend, const std::string& chosen, const std::string& inUse,
                  double fastest) {
  std::string marks;
  const double share = backend.megabytesPerSecond / fastest;
  if (backend.name == chosen && share >= 0.995) marks = "chosen";  // 1.00 as printed
  if (backend.name == chosen && share < 0.995) {
    char text[64];
    std::snprintf(text, sizeof text, "chosen (%.2f of the fastest)", share);
    marks = text;
  }
  if (backend.name == inUse && inUse != chosen) marks += "pinned";
  return marks;
}

// `chosen`: registration's choice.
void WriteAlgorithm(const NamedAlgorithm& algorithm, const std::string& chosen, uint8_t* buffer) {
  const ReportRow& row = algorithm.row;
  const std::string inUse = ActiveDigestBackend(row.algorithm, row.bits);
  const std::vector<BackendSpeed> speeds = MeasureBackends(row, inUse, buffer);
  double fastest = 0;
  for (const BackendSpeed& backend : speeds)
    fastest = std::max(fastest, backend.megabytesPerSecond);
  const std::string name = Utf8FromText(algorithm.name);
  for (const BackendSpeed& backend : speeds) {
    char line[160];
    std::snprintf(line, sizeof line, "%-11s %-12s %8.0f  %s", name.c_str(), backend.name.c_str(),
                  backend.megabytesPerSecond, Marks(backend, chosen, inUse, fastest).c_str());
    std::string text = line;
    WriteLine(text.substr(0, text.find_last_not_of(' ') + 1));
  }
}

// One read of the file through the engine's file layer, as the digests read it.
void WriteFileRead(const Text& path, uint8_t* buffer) {
  DigestFile file;
  const std::string name = Utf8FromText(path);
  if (!file.OpenAnyReadable(path).Opened()) {
    WriteLine("Read of " + name + ": cannot be opened");
    return;
  }
  uint64_t bytes = 0;
  const Clock::time_point start = Clock::now();
  for (;;) {
    const int64_t read = file.Read(buffer, DIGEST_READ_SIZE);
    if (read < 0) {
      WriteLine("Read of " + name + ": failed");
      return;
    }
    bytes += static_cast<uint64_t>(read);
    if (read < DIGEST_READ_SIZE) break;
  }
  const double seconds = SecondsSince(start);
  char figures[128];
  std::snprintf(figures, sizeof figures, ": %llu bytes in %.2f ms, %.0f MB/s",
                static_cast<unsigned long long>(bytes), seconds * 1e3,
                seconds > 0 ? static_cast<double>(bytes) / seconds / 1e6 : 0.0);
  WriteLine("Read of " + name + figures);
}

}  // namespace

void UsePinnedBackends(const std::vector<PinnedBackend>& pins) {
  for (const PinnedBackend& pin : pins) {
    UseDigestBackend(pin.algorithm->row.algorithm, pin.algorithm->row.bits, pin.name);
  }
}

void WriteEngineBenchmark(const std::vector<PinnedBackend>& pins, const std::vector<Text>& files) {
  // Registered before anything else, as at any start: the figure includes reading the features.
  const double registration = RegistrationMilliseconds();
  std::vector<std::string> chosen;
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    chosen.push_back(ActiveDigestBackend(algorithm.row.algorithm, algorithm.row.bits));
  }
  UsePinnedBackends(pins);
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
  for (size_t i = 0; i < std::size(NAMED_ALGORITHMS); ++i) {
    WriteAlgorithm(NAMED_ALGORITHMS[i], chosen[i], buffer);
  }
  if (!files.empty()) WriteLine("");
  for (const Text& path : files) WriteFileRead(path, buffer);
  ReleaseToMainHeap(buffer);
}
