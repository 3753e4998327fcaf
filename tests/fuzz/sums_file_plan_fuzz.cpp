// The files and folders a sums file is made of come from a command line: whatever they are, the
// planned folder ends in a separator and names below it are the items' paths less the folder (or
// the whole path for one not below it); a folder's proposed name reads back as its algorithm. Items
// are the input's lines; the first byte's bits say which are folders.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sums/algorithm_by_file_name.h"
#include "sums/folder_separator.h"
#include "sums/sums_file_plan.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::vector<SumsFileItem> Items(const uint8_t* data, size_t size) {
  std::vector<SumsFileItem> items;
  if (size == 0) return items;
  const uint8_t folders = data[0];
  Text line;
  for (size_t i = 1; i <= size; ++i) {
    if (i < size && data[i] != '\n') {
      line += static_cast<wchar_t>(data[i]);
      continue;
    }
    const bool folder = (folders >> (items.size() % 8)) & 1;
    items.push_back({L"/" + line, folder});  // absolute, as the window makes them
    line.clear();
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<SumsFileItem> items = Items(data, size);
  if (items.empty()) return 0;
  const NamedAlgorithm* algorithm = AllAlgorithms()[data[0] % AllAlgorithms().size()];
  const SumsFilePlan plan = PlanSumsFile(items, *algorithm);
  Require(plan.folder.empty() || IsFolderSeparator(plan.folder.back()));
  for (const SumsFileItem& item : items) {
    const Text below = NameBelowFolder(plan.folder, item.path);
    Require(plan.folder + below == item.path || below == item.path);
  }
  if (!plan.oneFile) Require(AlgorithmNamedBySumsFile(plan.folder + plan.fileName) == algorithm);
  return 0;
}
