#include "cli/list_digests.h"

#include "cli/cli_errors.h"
#include "cli/console.h"
#include "cli/named_file_digests.h"
#include "cli/output_formats.h"

int ListDigests(const CliOptions& options) {
  const AlgorithmList algorithms =
      options.algorithms.empty() ? AllAlgorithms() : options.algorithms;
  int status = EXIT_ALL_GOOD;
  bool anyPrinted = false;
  for (const Text& name : options.files) {
    const NamedFileDigests file = ComputeNamedFileDigests(name, algorithms);
    if (!file.failure.empty()) {
      WriteErrorLine(file.failure);
      status = EXIT_SOME_FAILED;
      continue;
    }
    // Reports stand apart by an empty line; the other formats are one line per digest.
    if (anyPrinted && options.format == OutputFormat::REPORT) {
      WriteConsoleLine(ConsoleStream::OUTPUT, L"");
    }
    for (const Text& line : DigestLines(options.format, algorithms, file.digests, name)) {
      WriteConsoleLine(ConsoleStream::OUTPUT, line);
    }
    anyPrinted = true;
  }
  return status;
}
