#include "toolkit/file_list.h"

#include <cstring>

namespace {

uint32_t ReadUnsigned32(const uint8_t* bytes) {
  uint32_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Character `index` of characters `unit` bytes wide; the block need not align them.
uint16_t CharacterAt(const uint8_t* characters, uint64_t index, uint64_t unit) {
  uint16_t character = 0;
  std::memcpy(&character, characters + index * unit, unit);
  return character;
}

}  // namespace

bool FindFileListNames(const uint8_t* bytes, uint64_t size, FileListNames* names) {
  if (size < FILE_LIST_HEADER_SIZE) return false;
  const uint64_t offset = ReadUnsigned32(bytes + FILE_LIST_NAMES_OFFSET_AT);
  if (offset > size) return false;
  const bool wide = ReadUnsigned32(bytes + FILE_LIST_WIDE_FLAG_AT) != 0;
  const uint64_t unit = wide ? 2 : 1;
  const uint64_t count = (size - offset) / unit;  // whole characters inside the block
  const uint8_t* characters = bytes + offset;
  if (count == 0 || CharacterAt(characters, 0, unit) == 0) return false;  // no first name
  // Each zero ends a name; a zero right after it ends the list.
  for (uint64_t i = 1; i + 1 < count; ++i) {
    if (CharacterAt(characters, i, unit) != 0) continue;
    if (CharacterAt(characters, i + 1, unit) == 0) {
      *names = FileListNames{offset, i, wide};
      return true;
    }
    ++i;  // the next name has begun
  }
  return false;
}
