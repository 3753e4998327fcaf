#include "cli/list_digests.h"

#include "cli/cli_errors.h"
#include "cli/console.h"
#include "cli/named_file_digests.h"
#include "cli/output_formats.h"

namespace {

void WriteOutputLine(const CliOptions& options, const Text& line) {
  if (options.zero) {
    WriteNulEndedLine(line);
  } else {
    WriteConsoleLine(ConsoleStream::OUTPUT, line);
  }
}

}  // namespace

int ListDigests(const CliOptions& options) {
  const AlgorithmList algorithms = ChosenAlgorithms(options);
  int status = EXIT_ALL_GOOD;
  bool anyPrinted = false;
  std::vector<Text> files = options.files;
  if (files.empty()) files.push_back(STANDARD_INPUT_NAME);
  for (const Text& name : files) {
    const NamedFileDigests file = ComputeNamedFileDigests(name, algorithms);
    if (!file.failure.empty()) {
      WriteErrorLine(file.failure);
      status = EXIT_SOME_FAILED;
      continue;
    }
    // Reports stand apart by an empty line; the other formats are one line per digest.
    if (anyPrinted && options.format == OutputFormat::REPORT) {
      WriteOutputLine(options, L"");
    }
    for (const Text& line :
         DigestLines(options.format, algorithms, file.digests, name, !options.zero)) {
      WriteOutputLine(options, line);
    }
    anyPrinted = true;
  }
  return status;
}
