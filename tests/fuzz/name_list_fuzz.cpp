// A --files-from list arrives in pieces of any size: the names must not depend on where the
// pieces split, and none may be empty or hold a line end or a zero character. The first byte
// chooses the split points.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "cli/inputs/files_from_list.h"

namespace {

std::vector<Text> NamesFedInPieces(const uint8_t* data, size_t size, size_t piece) {
  FilesFromListReader reader;
  std::vector<Text> names;
  Text name;
  for (size_t at = 0; at < size; at += piece) {
    const size_t length = size - at < piece ? size - at : piece;
    reader.Feed(reinterpret_cast<const char*>(data + at), length);
    while (reader.Next(name)) names.push_back(name);
  }
  reader.End();
  while (reader.Next(name)) names.push_back(name);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 7 + 1;
  const std::vector<Text> whole = NamesFedInPieces(data + 1, size - 1, size);
  if (NamesFedInPieces(data + 1, size - 1, piece) != whole) std::abort();
  for (const Text& name : whole) {
    if (name.empty() || name.find_first_of(Text(L"\n\0", 2)) != Text::npos) std::abort();
  }
  return 0;
}
