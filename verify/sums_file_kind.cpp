#include "verify/sums_file_kind.h"

#include <vector>

#include "sums/algorithm_by_file_name.h"
#include "sums/sums_file_reader.h"

namespace {

// A line in a known form among the first lines makes a sums file, unless the file is binary,
// where a line can look like one by chance; only the first piece of the file is read, whatever
// its size.
constexpr size_t FIRST_LINES = 10;

bool FirstLinesHoldAnEntry(const Text& path) {
  SumsFileReader reader;
  if (!reader.Open(path)) return false;
  std::vector<SumsEntry> entries;
  if (!reader.ReadEntries(entries) || reader.HeldBinary()) return false;
  for (const SumsEntry& entry : entries) {
    if (entry.lineNumber <= FIRST_LINES && entry.form != SumsLineForm::MALFORMED) return true;
  }
  return false;
}

}  // namespace

bool IsSumsFile(const Text& path) {
  return AlgorithmNamedBySumsFile(path) != nullptr || FirstLinesHoldAnEntry(path);
}
