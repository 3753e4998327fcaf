#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "runtime/main_heap.h"
#include "toolkit/status_bar_internals.h"

namespace {

// Up to this many sections are laid out without touching the heap.
constexpr int32_t FIXED_EDGE_COUNT = 32;

// Room the control keeps at its right end inside a sizable, restored parent: its height less 3.
constexpr LONG SIZABLE_PARENT_SLACK = 3;

int32_t ClampToEdge(int64_t position) {
  return static_cast<int32_t>(std::clamp<int64_t>(position, INT_MIN, INT_MAX));
}

// The width fill sections share: the control's, less its corner inside a sizable parent.
LONG UsableWidth(HWND control, const RECT& client) {
  HWND parent = GetParent(control);
  if (!parent || IsZoomed(parent)) return client.right;
  if (!(GetWindowLongPtrW(parent, GWL_STYLE) & WS_THICKFRAME)) return client.right;
  return client.right - client.bottom + SIZABLE_PARENT_SLACK;
}

void ComputeRightEdges(const StatusBarRecord* record, int32_t* edges) {
  RECT client{};
  GetClientRect(record->window, &client);
  int64_t fixedSum = 0;
  int64_t fillCount = 0;
  for (int32_t i = 0; i < record->count; ++i) {
    if (record->sections[i].width == SECTION_FILL) {
      ++fillCount;
    } else {
      fixedSum += record->sections[i].width;
    }
  }
  // Truncating division: the remainder of the share is not handed out.
  const int64_t fillShare =
      fillCount ? (UsableWidth(record->window, client) - client.left - fixedSum) / fillCount : 0;
  int64_t position = 0;
  for (int32_t i = 0; i < record->count; ++i) {
    const int32_t width = record->sections[i].width;
    position += width == SECTION_FILL ? fillShare : width;
    edges[i] = ClampToEdge(position);
  }
}

}  // namespace

void LayoutStatusSections(StatusBarRecord* record) {
  int32_t fixedEdges[FIXED_EDGE_COUNT];
  int32_t* edges = fixedEdges;
  void* heapEdges = nullptr;
  if (record->count > FIXED_EDGE_COUNT) {
    heapEdges = AllocateFromMainHeap(static_cast<size_t>(record->count) * sizeof(int32_t));
    if (!heapEdges) return;
    edges = static_cast<int32_t*>(heapEdges);
  }
  ComputeRightEdges(record, edges);
  SendMessageW(record->window, SB_SETPARTS, record->count, reinterpret_cast<LPARAM>(edges));
  ReleaseToMainHeap(heapEdges);
}
