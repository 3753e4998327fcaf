#include "toolkit/dropped_files.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "runtime/main_heap.h"
#include "toolkit/drop_support.h"
#include "toolkit/event_queue.h"
#include "toolkit/scoped_handles.h"

namespace {

constexpr UINT FILE_COUNT_QUERY = 0xFFFFFFFF;
constexpr wchar_t NAME_SEPARATOR = L'\n';

// A movable global block, freed at the end of the scope.
class OwnedGlobalBlock {
 public:
  explicit OwnedGlobalBlock(size_t size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
  ~OwnedGlobalBlock() {
    if (block_) GlobalFree(block_);
  }
  OwnedGlobalBlock(const OwnedGlobalBlock&) = delete;
  OwnedGlobalBlock& operator=(const OwnedGlobalBlock&) = delete;

  HGLOBAL Get() const { return block_; }

 private:
  HGLOBAL block_;
};

// Character `index` of a name list of `unit`-byte characters, or -1 past the end.
int64_t CharacterAt(const uint8_t* names, uint64_t length, uint64_t index, uint64_t unit) {
  if (index >= length / unit) return -1;
  uint16_t character = 0;
  std::memcpy(&character, names + index * unit, unit);
  return character;
}

// Rebuilds the dropped block as the global memory the shell's list reader takes.
bool FillGlobalBlock(HGLOBAL block, const DropRecord* record) {
  GlobalMemoryLock lock(block);
  if (!lock.Bytes()) return false;
  std::memcpy(lock.Bytes(), record->data, record->size);
  return true;
}

Text JoinFileNames(HDROP files) {
  const UINT count = DragQueryFileW(files, FILE_COUNT_QUERY, nullptr, 0);
  if (count == 0) return {};
  size_t total = count - 1;  // the separators
  for (UINT i = 0; i < count; ++i) total += DragQueryFileW(files, i, nullptr, 0);
  if (total == 0) return {};
  Text joined(total + 1, L'\0');  // room for every name's terminator in turn
  size_t position = 0;
  for (UINT i = 0; i < count && position < joined.size(); ++i) {
    const UINT room = static_cast<UINT>(joined.size() - position);
    position += DragQueryFileW(files, i, &joined[position], room);
    if (position < joined.size()) joined[position++] = NAME_SEPARATOR;
  }
  joined.resize(total);  // drops the last separator
  return joined;
}

}  // namespace

DropRecord* CopyDropRecord(int32_t format, const void* bytes, size_t size) {
  auto* record = static_cast<DropRecord*>(AllocateFromMainHeap(sizeof(DropRecord)));
  if (!record) return nullptr;
  record->data = AllocateFromMainHeap(size);
  if (!record->data) {
    ReleaseToMainHeap(record);
    return nullptr;
  }
  std::memcpy(record->data, bytes, size);
  record->format = format;
  record->size = size;
  return record;
}

void ReleaseDropRecord(void* record) {
  auto* dropped = static_cast<DropRecord*>(record);
  ReleaseToMainHeap(dropped->data);
  ReleaseToMainHeap(dropped);
}

// The dropped bytes come from another program: the list reader trusts its offsets and
// terminators, so both are checked against the copy's size first. The reader looks at the
// character after every name's terminator, which must therefore lie inside as well.
bool IsSoundFileList(const void* bytes, uint64_t size) {
  if (size < sizeof(DROPFILES)) return false;
  DROPFILES header;
  std::memcpy(&header, bytes, sizeof header);
  if (header.pFiles > size) return false;
  const auto* names = static_cast<const uint8_t*>(bytes) + header.pFiles;
  const uint64_t length = size - header.pFiles;
  const uint64_t unit = header.fWide ? sizeof(wchar_t) : 1;
  if (CharacterAt(names, length, 0, unit) <= 0) return false;  // no first name
  for (uint64_t i = 0;; ++i) {
    const int64_t character = CharacterAt(names, length, i, unit);
    if (character < 0) return false;
    if (character != 0) continue;
    const int64_t following = CharacterAt(names, length, i + 1, unit);
    if (following < 0) return false;
    if (following == 0) return true;
  }
}

Text DroppedFilesText() {
  const auto* record = static_cast<const DropRecord*>(CurrentEventData());
  if (!record || !record->data || record->format != CF_HDROP) return {};
  if (!IsSoundFileList(record->data, record->size)) return {};
  OwnedGlobalBlock block(record->size);
  if (!block.Get() || !FillGlobalBlock(block.Get(), record)) return {};
  return JoinFileNames(static_cast<HDROP>(block.Get()));
}
