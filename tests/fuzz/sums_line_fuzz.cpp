// Sums files come from anywhere. Every line must parse without fault, and a line in a known form,
// written back as the companion writes it, must parse to the same algorithm, digest and name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/output_formats.h"
#include "cli/sums_lines.h"

namespace {

Text WrittenBack(const SumsLine& line) {
  if (line.form == SumsLineForm::BSD) {
    return DigestLines(OutputFormat::BSD, {line.algorithm}, {line.hex}, line.name)[0];
  }
  // A gnu line names no algorithm; any with its number of digits writes the same line.
  const AlgorithmList fitting = AlgorithmsWithHexLength(AllAlgorithms(), line.hex.size());
  return DigestLines(OutputFormat::GNU, {fitting[0]}, {line.hex}, line.name)[0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const Text& text : SumsFileLines(bytes)) {
    const SumsLine line = ParseSumsLine(text);
    if (line.form != SumsLineForm::GNU && line.form != SumsLineForm::BSD) continue;
    const SumsLine again = ParseSumsLine(WrittenBack(line));
    if (again.form != line.form || again.algorithm != line.algorithm || again.hex != line.hex ||
        again.name != line.name) {
      std::abort();
    }
  }
  return 0;
}
