#include "toolkit/drop_support.h"

#include <windows.h>
#include <ole2.h>

#include "toolkit/drop_target.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

// CF_TEXT stands for every text format; the target tries them newest first: 13, then 7, then 1.
constexpr int32_t TEXT_FORMATS[] = {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT};

WindowDropTarget* TargetOf(HWND window) {
  return static_cast<WindowDropTarget*>(GetPropW(window, PROPERTY_DROP_ACCEPT));
}

// Revoking releases OLE's reference, the only one, and so frees the target.
void StopAcceptingDrops(HWND window) {
  RemovePropW(window, PROPERTY_DROP_ACCEPT);
  RevokeDragDrop(window);
}

WindowDropTarget* RegisterDropTarget(ObjectNumber number, HWND window) {
  WindowDropTarget* target = NewWindowDropTarget(number, window);
  if (!target) return nullptr;
  HRESULT result = RegisterDragDrop(window, AsDropTarget(target));
  if (result == DRAGDROP_E_ALREADYREGISTERED) {
    RevokeDragDrop(window);
    result = RegisterDragDrop(window, AsDropTarget(target));
  }
  if (FAILED(result)) {
    AsDropTarget(target)->Release();
    return nullptr;
  }
  SetPropW(window, PROPERTY_DROP_ACCEPT, target);
  AsDropTarget(target)->Release();  // OLE now holds the only reference
  return target;
}

void AcceptFormat(ObjectNumber number, HWND window, int32_t format, int32_t actions) {
  WindowDropTarget* target = TargetOf(window);
  if (actions == 0) {
    if (!target) return;
    RemoveFormatEntry(target, format);
    if (!target->formats) StopAcceptingDrops(window);
    return;
  }
  if (!target) target = RegisterDropTarget(number, window);
  if (!target) return;
  // A target that could not take its first format would refuse every drag: give it up.
  if (!SetFormatActions(target, format, actions) && !target->formats) StopAcceptingDrops(window);
}

}  // namespace

void StartDropSupport() {
  OleInitialize(nullptr);
}

void StopDropSupport() {
  OleUninitialize();
}

void AcceptWindowDrops(ObjectNumber number, int32_t format, int32_t actions) {
  ObjectTable* windows = WindowTable();
  auto* record = windows ? static_cast<WindowRecord*>(LookupObject(windows, number)) : nullptr;
  if (!record || format == 0) return;
  if (format == CF_TEXT) {
    for (int32_t textFormat : TEXT_FORMATS) {
      AcceptFormat(number, record->window, textFormat, actions);
    }
    return;
  }
  AcceptFormat(number, record->window, format, actions);
}
