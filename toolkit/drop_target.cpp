#include "toolkit/drop_target.h"

#include "runtime/main_heap.h"
#include "toolkit/dropped_files.h"
#include "toolkit/event_queue.h"
#include "toolkit/scoped_handles.h"

namespace {

constexpr DWORD MODIFIER_KEYS = MK_SHIFT | MK_CONTROL | MK_ALT;
constexpr DWORD LINK_KEYS_CONTROL_SHIFT = MK_CONTROL | MK_SHIFT;

FORMATETC GlobalMemoryFormat(int32_t format) {
  return FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The effect under the match DragEnter found.
DWORD MatchedEffect(const WindowDropTarget* self, DWORD offered, DWORD keys) {
  if (self->matchState != DROP_MATCHED) return DROPEFFECT_NONE;
  return ChooseDropEffect(offered, static_cast<DWORD>(self->matchedActions), keys);
}

void FreeTarget(WindowDropTarget* self) {
  while (self->formats) RemoveFormatEntry(self, self->formats->format);
  ReleaseToMainHeap(self);
}

// A private copy of the dropped block; null when the source gives no global memory or the copy
// cannot be made. The source's medium is released on every path.
DropRecord* FetchDropRecord(IDataObject* data, int32_t format) {
  FORMATETC wanted = GlobalMemoryFormat(format);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&wanted, &medium))) return nullptr;
  DropRecord* record = nullptr;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    GlobalMemoryLock lock(medium.hGlobal);
    if (lock.Bytes()) record = CopyDropRecord(format, lock.Bytes(), GlobalSize(medium.hGlobal));
  }
  ReleaseStgMedium(&medium);
  return record;
}

HRESULT STDMETHODCALLTYPE QueryInterface(WindowDropTarget* self, REFIID interfaceId, void** out) {
  if (!out) return E_INVALIDARG;
  if (interfaceId != IID_IUnknown && interfaceId != IID_IDropTarget) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = self;
  ++self->references;
  return S_OK;
}

ULONG STDMETHODCALLTYPE AddRef(WindowDropTarget* self) {
  return ++self->references;
}

ULONG STDMETHODCALLTYPE Release(WindowDropTarget* self) {
  const int32_t left = --self->references;
  if (left <= 0) {
    FreeTarget(self);
    return 0;
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE DragEnter(WindowDropTarget* self, IDataObject* data, DWORD keys, POINTL,
                                    DWORD* effect) {
  self->matchState = DROP_NO_MATCH;
  if (!effect) return S_OK;
  // Only formats that allow something the source offers are worth asking about.
  for (const DropFormatEntry* entry = self->formats; entry && data; entry = entry->next) {
    if (!(static_cast<DWORD>(entry->actions) & *effect)) continue;
    FORMATETC wanted = GlobalMemoryFormat(entry->format);
    if (data->QueryGetData(&wanted) != S_OK) continue;
    self->matchState = DROP_MATCHED;
    self->matchedFormat = entry->format;
    self->matchedActions = entry->actions;
    break;
  }
  *effect = MatchedEffect(self, *effect, keys);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DragOver(WindowDropTarget* self, DWORD keys, POINTL, DWORD* effect) {
  if (effect) *effect = MatchedEffect(self, *effect, keys);
  return S_OK;
}

// The window draws no highlight, so there is nothing to take back.
HRESULT STDMETHODCALLTYPE DragLeave(WindowDropTarget*) {
  return S_OK;
}

// Every failure refuses the drop (DROPEFFECT_NONE) and queues nothing.
HRESULT STDMETHODCALLTYPE Drop(WindowDropTarget* self, IDataObject* data, DWORD keys, POINTL,
                               DWORD* effect) {
  if (!effect) return S_OK;
  *effect = MatchedEffect(self, *effect, keys);
  if (*effect == DROPEFFECT_NONE) return S_OK;
  DropRecord* record = data ? FetchDropRecord(data, self->matchedFormat) : nullptr;
  if (!record) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  // The queue owns the record from here. A drop it does not keep (suppressed, merged into the
  // drop before it, or no room for its node) did not happen, and the source must not think so.
  if (!PostToolkitEvent(EVENT_WINDOW_DROP, 0, self->number, 0, record, ReleaseDropRecord, 0)) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

constexpr DropTargetInterface WINDOW_DROP_TARGET_INTERFACE = {
    QueryInterface, AddRef, Release, DragEnter, DragOver, DragLeave, Drop,
};

}  // namespace

WindowDropTarget* NewWindowDropTarget(ObjectNumber number, HWND window) {
  auto* target = static_cast<WindowDropTarget*>(AllocateFromMainHeap(sizeof(WindowDropTarget)));
  if (!target) return nullptr;
  target->interfaceTable = &WINDOW_DROP_TARGET_INTERFACE;
  target->references = 1;
  target->number = number;
  target->window = window;
  return target;
}

DWORD ChooseDropEffect(DWORD offered, DWORD allowed, DWORD keys) {
  const DWORD possible = offered & allowed;
  const DWORD modifiers = keys & MODIFIER_KEYS;  // mouse buttons do not count
  if ((possible & DROPEFFECT_LINK) &&
      (modifiers == LINK_KEYS_CONTROL_SHIFT || modifiers == MK_ALT)) {
    return DROPEFFECT_LINK;
  }
  if ((possible & DROPEFFECT_MOVE) && (modifiers == MK_SHIFT || !(possible & DROPEFFECT_COPY))) {
    return DROPEFFECT_MOVE;
  }
  if (possible & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  return possible & DROPEFFECT_LINK;
}

DropFormatEntry* FindFormatEntry(const WindowDropTarget* target, int32_t format) {
  for (DropFormatEntry* entry = target->formats; entry; entry = entry->next) {
    if (entry->format == format) return entry;
  }
  return nullptr;
}

bool SetFormatActions(WindowDropTarget* target, int32_t format, int32_t actions) {
  if (DropFormatEntry* entry = FindFormatEntry(target, format)) {
    entry->actions = actions;
    return true;
  }
  auto* entry = static_cast<DropFormatEntry*>(AllocateFromMainHeap(sizeof(DropFormatEntry)));
  if (!entry) return false;
  *entry = DropFormatEntry{target->formats, nullptr, format, actions};
  if (target->formats) target->formats->previous = entry;
  target->formats = entry;
  return true;
}

void RemoveFormatEntry(WindowDropTarget* target, int32_t format) {
  DropFormatEntry* entry = FindFormatEntry(target, format);
  if (!entry) return;
  if (entry->previous) {
    entry->previous->next = entry->next;
  } else {
    target->formats = entry->next;
  }
  if (entry->next) entry->next->previous = entry->previous;
  ReleaseToMainHeap(entry);
}
