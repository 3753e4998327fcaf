// `make bench`: for every processor class this processor can run, the throughput of each
// algorithm and the whole report of a 1 GiB file, ours against OpenSSL held to the same class
// (zlib for CRC32) and against rhash; a class it cannot run is listed as not measured. The tables
// go to the standard output as markdown, progress to the standard error.
//
// Usage: digest_bench FILE [ROUNDS]: FILE is the 1 GiB file (made when missing), ROUNDS the rounds
// of the whole report (default 2). The benchmark runs itself again for each class's OpenSSL
// measurements (THROUGHPUT_OPTION, OPENSSL_PASSES_OPTION).
#include <openssl/opensslv.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/class_runs.h"
#include "bench/digest_throughput.h"
#include "bench/one_pass.h"
#include "bench/whole_report.h"
#include "digest/register_digest_plugins.h"

namespace {

constexpr int DEFAULT_ROUNDS = 2;

void PrintMachine(const RhashRuns& rhash) {
  // The heading names the processor: docs/performance.md keeps one such section per processor.
  std::printf("## Results on %s\n\nFeatures: %s.\n\n",
              DescribeProcessor(ThisProcessorIdentity()).c_str(),
              FeatureNames(ThisProcessor()).c_str());
  std::printf("Contenders: OpenSSL %s, zlib %s, %s. MB/s are 10^6 bytes a second.\n\n",
              OPENSSL_VERSION_STR, ZLIB_VERSION, rhash.version.c_str());
}

void PrintClassHeading(const ProcessorClass& processorClass) {
  std::printf("### Class %s: %s\n\n", processorClass.name, processorClass.examples);
  std::printf("Features beyond SSE2: %s.", FeatureNames(processorClass.features).c_str());
  if (ThisProcessorRuns(processorClass)) {
    std::printf(" OpenSSL held to the class with OPENSSL_ia32cap=%s.\n\n",
                OpenSslCapabilityMask(processorClass.features).c_str());
  } else {
    std::printf("\n\nNot measured: this processor cannot run the class.\n\n");
  }
}

// Throughput and whole report of one class; false when a measurement fails.
bool MeasureClass(const ProcessorClass& processorClass, const std::string& path, int rounds,
                  const RhashRuns& rhash) {
  std::fprintf(stderr, "%s: throughput\n", processorClass.name);
  if (!RunProgram({ThisExecutable(), THROUGHPUT_OPTION, processorClass.name},
                  OpenSslCapabilityMask(processorClass.features))) {
    std::fprintf(stderr, "the throughput of class %s was not measured\n", processorClass.name);
    return false;
  }
  return MeasureWholeReport(processorClass, path, rounds, rhash);
}

}  // namespace

int main(int argc, char** argv) {
  RegisterDigestPlugins();
  const std::string option = argc > 1 ? argv[1] : "";
  if (option == THROUGHPUT_OPTION && argc > 2 && ProcessorClassNamed(argv[2])) {
    return MeasureThroughput(*ProcessorClassNamed(argv[2]), argc - 2, argv + 2);
  }
  if (option == OPENSSL_PASSES_OPTION && argc > 2) return PrintOpenSslPasses(argv[2]);
  if (argc < 2 || option.rfind("--", 0) == 0) {
    std::fprintf(stderr, "usage: %s FILE [ROUNDS]\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : DEFAULT_ROUNDS;
  if (!PrepareReportFile(path)) {
    std::fprintf(stderr, "cannot make %s\n", path.c_str());
    return 1;
  }
  std::fprintf(stderr, "rhash: whole report, %d rounds\n", rounds);
  const RhashRuns rhash = MeasureRhash(path, rounds);
  if (rhash.seconds.empty()) {
    std::fprintf(stderr, "rhash did not run\n");
    return 1;
  }

  PrintMachine(rhash);
  if (!MeasureOnePass(path, rounds, rhash)) return 1;
  for (const ProcessorClass& processorClass : ProcessorClasses()) {
    PrintClassHeading(processorClass);
    if (!ThisProcessorRuns(processorClass)) continue;
    if (!MeasureClass(processorClass, path, rounds, rhash)) return 1;
  }
  return 0;
}
