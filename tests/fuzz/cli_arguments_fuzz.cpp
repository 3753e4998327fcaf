// Command lines come from anywhere: arguments split at zero bytes. Parsing must not fault, and a
// command line it accepts must hold together: known algorithms without repeats, exactly one of
// them for the gnu format, and an expected digest of hex digits that a chosen algorithm's digests
// have as many of (the named one's, when named), never beside --check or an output option; and
// pinned backends that this processor runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/options/command_line.h"
#include "digest/backend_selection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<Text> arguments;
  std::string argument;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == 0) {
      arguments.push_back(TextFromUtf8(argument));
      argument.clear();
    } else {
      argument += static_cast<char>(data[i]);
    }
  }
  const CliOptions options = ParseCliArguments(arguments);
  if (!options.error.empty()) return 0;
  const AlgorithmList& chosen = options.algorithms;
  for (const NamedAlgorithm* algorithm : chosen) {
    if (!algorithm || std::count(chosen.begin(), chosen.end(), algorithm) != 1) std::abort();
  }
  if (options.format == OutputFormat::GNU && options.algorithms.size() != 1) std::abort();
  for (const PinnedBackend& pin : options.backends) {
    if (!pin.algorithm) std::abort();
    const ReportRow& row = pin.algorithm->row;
    if (!ProcessorRunsDigestBackend(row.algorithm, row.bits, pin.name)) std::abort();
  }
  if (options.expected.empty()) return 0;
  const bool hex = options.expected.find_first_not_of(L"0123456789abcdefABCDEF") == Text::npos;
  if (!hex || options.check || options.zero || options.format != OutputFormat::REPORT ||
      AlgorithmsWithHexLength(ChosenAlgorithms(options), options.expected.size()).empty()) {
    std::abort();
  }
  // A name before the digest decides the algorithm: one -a allows, of the digest's length.
  const NamedAlgorithm* named = options.expectedAlgorithm;
  const AlgorithmList allowed = ChosenAlgorithms(options);
  if (named && (HexLength(*named) != options.expected.size() ||
                std::count(allowed.begin(), allowed.end(), named) != 1)) {
    std::abort();
  }
  return 0;
}
