#include "toolkit/dropped_files.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>

#include "runtime/main_heap.h"
#include "toolkit/event_queue.h"
#include "toolkit/file_list.h"

namespace {

constexpr wchar_t NAME_SEPARATOR = L'\n';

static_assert(sizeof(DROPFILES) == FILE_LIST_HEADER_SIZE);
static_assert(offsetof(DROPFILES, pFiles) == FILE_LIST_NAMES_OFFSET_AT);
static_assert(offsetof(DROPFILES, fWide) == FILE_LIST_WIDE_FLAG_AT);

// The names as they lie in the block, each still ended by its zero but the last.
Text WideNames(const uint8_t* characters, uint64_t length) {
  Text names(length, L'\0');
  std::memcpy(names.data(), characters, length * sizeof(wchar_t));
  return names;
}

// Narrow names are in the sender's code page, the one the shell's own reader assumes.
Text NarrowNames(const uint8_t* characters, uint64_t length) {
  if (length > INT_MAX) return {};
  const auto* narrow = reinterpret_cast<const char*>(characters);
  const int count = static_cast<int>(length);
  const int wide = MultiByteToWideChar(CP_ACP, 0, narrow, count, nullptr, 0);
  Text names(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, narrow, count, names.data(), wide);
  return names;
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

// One pass finds the names inside the copy and a second joins them: the zero between two names
// becomes a line feed.
Text DroppedFilesText() {
  const auto* record = static_cast<const DropRecord*>(CurrentEventData());
  if (!record || !record->data || record->format != CF_HDROP) return {};
  const auto* bytes = static_cast<const uint8_t*>(record->data);
  FileListNames names;
  if (!FindFileListNames(bytes, record->size, &names)) return {};
  const uint8_t* first = bytes + names.offset;
  Text joined = names.wide ? WideNames(first, names.length) : NarrowNames(first, names.length);
  std::replace(joined.begin(), joined.end(), L'\0', NAME_SEPARATOR);
  return joined;
}
