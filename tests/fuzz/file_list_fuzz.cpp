// The reader of dropped file lists on arbitrary bytes: it must stay inside them, and find the
// names exactly where the plain definition puts them: from the header's offset up to the first
// two zero characters in a row, with a non-zero first character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "toolkit/file_list.h"

namespace {

uint32_t Field(const uint8_t* data, uint64_t at) {
  uint32_t value = 0;
  std::memcpy(&value, data + at, sizeof value);
  return value;
}

uint16_t Character(const uint8_t* characters, uint64_t index, uint64_t unit) {
  uint16_t character = 0;
  std::memcpy(&character, characters + index * unit, unit);
  return character;
}

// The same question answered the slow, obvious way.
bool ExpectedNames(const uint8_t* data, uint64_t size, FileListNames* names) {
  if (size < FILE_LIST_HEADER_SIZE) return false;
  const uint64_t offset = Field(data, FILE_LIST_NAMES_OFFSET_AT);
  if (offset > size) return false;
  const bool wide = Field(data, FILE_LIST_WIDE_FLAG_AT) != 0;
  const uint64_t unit = wide ? 2 : 1;
  const uint64_t count = (size - offset) / unit;
  if (count == 0 || Character(data + offset, 0, unit) == 0) return false;
  for (uint64_t i = 0; i + 1 < count; ++i) {
    if (Character(data + offset, i, unit) == 0 && Character(data + offset, i + 1, unit) == 0) {
      *names = FileListNames{offset, i, wide};
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileListNames found{}, expected{};
  const bool sound = FindFileListNames(data, size, &found);
  if (sound != ExpectedNames(data, size, &expected)) std::abort();
  if (sound && (found.offset != expected.offset || found.length != expected.length ||
                found.wide != expected.wide)) {
    std::abort();
  }
  return 0;
}
