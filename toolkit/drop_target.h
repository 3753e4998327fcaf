#pragma once
// The IDropTarget a window carries while it accepts drops: a plain record whose first member is
// its interface table, as COM lays an object out, kept under the window's "ZQ_DropAccept".
#include <windows.h>
#include <ole2.h>

#include <cstdint>

#include "toolkit/object_registry.h"

struct WindowDropTarget;

// The IDropTarget operations in their slot order.
struct DropTargetInterface {
  HRESULT(STDMETHODCALLTYPE* queryInterface)
  (WindowDropTarget* self, REFIID interfaceId, void** out);
  ULONG(STDMETHODCALLTYPE* addRef)(WindowDropTarget* self);
  ULONG(STDMETHODCALLTYPE* release)(WindowDropTarget* self);
  HRESULT(STDMETHODCALLTYPE* dragEnter)
  (WindowDropTarget* self, IDataObject* data, DWORD keys, POINTL point, DWORD* effect);
  HRESULT(STDMETHODCALLTYPE* dragOver)
  (WindowDropTarget* self, DWORD keys, POINTL point, DWORD* effect);
  HRESULT(STDMETHODCALLTYPE* dragLeave)(WindowDropTarget* self);
  HRESULT(STDMETHODCALLTYPE* drop)
  (WindowDropTarget* self, IDataObject* data, DWORD keys, POINTL point, DWORD* effect);
};

// One accepted clipboard format; a target holds at most one entry per format.
struct DropFormatEntry {
  DropFormatEntry* next;
  DropFormatEntry* previous;
  int32_t format;
  int32_t actions;  // mask of DROPEFFECT_COPY, _MOVE and _LINK
};

// Whether the drag now over the window carries a format it accepts.
constexpr int32_t DROP_NO_MATCH = 0;
constexpr int32_t DROP_MATCHED = 1;

struct WindowDropTarget {
  const DropTargetInterface* interfaceTable;
  int32_t references;   // held by OLE alone once registered
  ObjectNumber number;  // the window's, put into the drop events
  HWND window;
  DropFormatEntry* formats;  // ours, from the main heap; the entry added last is first
  int32_t matchState;        // set by DragEnter
  int32_t matchedFormat;
  int32_t matchedActions;
};

// A target with one reference and no formats; null when the heap has no room.
WindowDropTarget* NewWindowDropTarget(ObjectNumber number, HWND window);

inline IDropTarget* AsDropTarget(WindowDropTarget* target) {
  return reinterpret_cast<IDropTarget*>(target);
}

// The effect a drop would have: `offered` by the drag source, `allowed` by the matched entry,
// chosen by the modifier keys in `keys`.
DWORD ChooseDropEffect(DWORD offered, DWORD allowed, DWORD keys);

DropFormatEntry* FindFormatEntry(const WindowDropTarget* target, int32_t format);

// Sets the format's actions, adding an entry at the front for a new format. False when the
// entry cannot be allocated.
bool SetFormatActions(WindowDropTarget* target, int32_t format, int32_t actions);

// Unlinks and frees the format's entry, if there is one.
void RemoveFormatEntry(WindowDropTarget* target, int32_t format);
