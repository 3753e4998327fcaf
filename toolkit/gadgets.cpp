#include "toolkit/gadgets.h"

#include <commctrl.h>
#include <ole2.h>

#include "toolkit/dpi_scaling.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadget_internals.h"
#include "toolkit/gadget_list.h"
#include "toolkit/numbered_window.h"
#include "toolkit/scoped_handles.h"
#include "toolkit/toolkit_names.h"

namespace {

constexpr int32_t GADGET_TABLE_GROW_STEP = 50;
// NONCLIENTMETRICSW without iPaddedBorderWidth, which older systems reject.
constexpr UINT NONCLIENT_METRICS_SIZE = 500;
constexpr DWORD COMMON_CONTROL_CLASSES = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES |
                                         ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;  // 0xB48

ObjectTable* gadgetTable;
HFONT defaultFont;  // ours when made from the message font; kept for the process's life

HFONT ChooseDefaultFont() {
  auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = NONCLIENT_METRICS_SIZE;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, NONCLIENT_METRICS_SIZE, &metrics, 0)) {
    if (HFONT messageFont = CreateFontIndirectW(&metrics.lfMessageFont)) font = messageFont;
  }
  return font;
}

void TearDownGadget(HWND control, GadgetRecord* record, ObjectNumber number) {
  if (record->kind->releaseResources) record->kind->releaseResources(record);
  RemovePropW(control, PROPERTY_GADGET_ID);
  if (RemovePropW(control, PROPERTY_DROP_ACCEPT)) RevokeDragDrop(control);
  SetWindowLongPtrW(control, GWLP_ID, DESTROYED_CONTROL_ID);
  RemoveQueuedEvents(EVENT_GADGET, number, ANY_EVENT_FIELD, ANY_EVENT_FIELD);
  ReleaseObjectRecord(gadgetTable, number);
}

LRESULT CALLBACK GadgetWindowProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  ObjectNumber number = GetWindowLongPtrW(control, GWLP_ID);
  if (number == DESTROYED_CONTROL_ID) return DefWindowProcW(control, message, wParam, lParam);
  auto* record = static_cast<GadgetRecord*>(LookupObject(gadgetTable, number));
  if (!record) return DefWindowProcW(control, message, wParam, lParam);
  LRESULT result = CallWindowProcW(record->previousProcedure, control, message, wParam, lParam);
  if (message == WM_NCDESTROY) TearDownGadget(control, record, number);
  return result;
}

}  // namespace

void StartGadgets() {
  if (gadgetTable) return;
  defaultFont = ChooseDefaultFont();
  gadgetTable = CreateObjectTable(sizeof(GadgetRecord), GADGET_TABLE_GROW_STEP, DestroyGadget);
  GadgetListState* list = CurrentGadgetList();
  list->defaultFont = defaultFont;
  list->changed = 0;
  INITCOMMONCONTROLSEX classes = {sizeof(classes), COMMON_CONTROL_CLASSES};
  InitCommonControlsEx(&classes);
}

// The default font and the kinds live for the process, and every control goes with its window.
void StopGadgets() {}

ObjectTable* GadgetTable() {
  return gadgetTable;
}

HWND CreateGadgetControl(DWORD extendedStyle, const wchar_t* className, const wchar_t* text,
                         DWORD style, int32_t x, int32_t y, int32_t width, int32_t height) {
  HWND parent = CurrentGadgetList()->window;
  if (!parent || !gadgetTable) return nullptr;
  return CreateWindowExW(extendedStyle, className, text ? text : L"", style, ScaleX(x), ScaleY(y),
                         ScaleX(width), ScaleY(height), parent,
                         reinterpret_cast<HMENU>(DESTROYED_CONTROL_ID), GetModuleHandleW(nullptr),
                         nullptr);
}

int64_t RegisterGadget(ObjectNumber number, GadgetRecord* record, HWND control,
                       const GadgetKind* kind) {
  record->handle = control;
  record->kind = kind;
  bool chosenNumber = number == ANY_OBJECT;
  if (chosenNumber) number = NumberOfAnyRecord(record);
  record->previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GadgetWindowProcedure)));
  SetWindowLongPtrW(control, GWLP_ID, number);
  SetPropW(control, PROPERTY_GADGET_ID, reinterpret_cast<HANDLE>(number));
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentGadgetList()->defaultFont),
               TRUE);
  CurrentGadgetList()->changed = 0;
  return chosenNumber ? number : reinterpret_cast<intptr_t>(control);
}

void ChangeGadgetText(ObjectNumber number, const wchar_t* text) {
  if (!text) text = L"";
  auto* record = static_cast<GadgetRecord*>(LookupObject(gadgetTable, number));
  if (!record) return;
  // The control's own notifications during the change are the program's doing, not the user's.
  EventSuppression suppression;
  if (record->kind->setText) {
    record->kind->setText(record, text);
  } else {
    SetWindowTextW(record->handle, text);
  }
}

void DestroyGadget(ObjectNumber number) {
  if (number == ANY_OBJECT) {
    ReleaseAllObjects(gadgetTable);
    return;
  }
  if (auto* record = static_cast<GadgetRecord*>(LookupObject(gadgetTable, number))) {
    DestroyWindow(record->handle);
  }
}

LRESULT PassToGadgetKind(HWND control, HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!control || !IsWindow(control)) return NOT_HANDLED;
  ObjectNumber number = GetWindowLongPtrW(control, GWLP_ID);
  if (number == DESTROYED_CONTROL_ID ||
      number != reinterpret_cast<intptr_t>(GetPropW(control, PROPERTY_GADGET_ID))) {
    return NOT_HANDLED;
  }
  auto* record = static_cast<GadgetRecord*>(LookupObject(gadgetTable, number));
  if (!record || record->handle != control || !record->kind->onParentMessage) return NOT_HANDLED;
  return record->kind->onParentMessage(record, parent, message, wParam, lParam);
}
