#include "toolkit/event_queue.h"
#include "toolkit/gadget_internals.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

constexpr DWORD TEXT_FIELD_STYLE =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL;  // 0x50030080

WNDPROC editClassProcedure;  // the system's "Edit" procedure that every text field wraps

void PostFocusEvent(HWND control, int64_t type) {
  ObjectNumber number = GetWindowLongPtrW(control, GWLP_ID);
  if (number == DESTROYED_CONTROL_ID) return;
  PostToolkitEvent(EVENT_GADGET, number, EnclosingWindowNumber(control), type, nullptr, nullptr, 0);
}

LRESULT CALLBACK TextFieldProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS) PostFocusEvent(control, GADGET_FOCUS);
  if (message == WM_KILLFOCUS) PostFocusEvent(control, GADGET_LOST_FOCUS);
  return CallWindowProcW(editClassProcedure, control, message, wParam, lParam);
}

LRESULT AnswerSystemColours(HDC deviceContext, UINT message) {
  int colour = message == WM_CTLCOLORSTATIC ? COLOR_BTNFACE : COLOR_WINDOW;
  SetBkColor(deviceContext, GetSysColor(colour));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
}

LRESULT ColourTextField(GadgetRecord* record, HWND, UINT message, WPARAM wParam, LPARAM) {
  bool colourMessage = message == WM_CTLCOLOREDIT ||
                       (message == WM_CTLCOLORSTATIC && IsWindowEnabled(record->handle));
  if (!colourMessage) return NOT_HANDLED;
  auto deviceContext = reinterpret_cast<HDC>(wParam);
  if (record->textColour != DEFAULT_COLOUR) {
    SetTextColor(deviceContext, static_cast<COLORREF>(record->textColour));
    if (record->backColour == DEFAULT_COLOUR) return AnswerSystemColours(deviceContext, message);
  }
  if (record->backColour != DEFAULT_COLOUR) {
    SetBkColor(deviceContext, static_cast<COLORREF>(record->backColour));
    return reinterpret_cast<LRESULT>(record->backBrush);
  }
  return NOT_HANDLED;
}

void ReleaseTextFieldResources(GadgetRecord* record) {
  if (record->backBrush) DeleteObject(record->backBrush);
  record->backBrush = nullptr;
}

const GadgetKind TEXT_FIELD_KIND = {GADGET_KIND_TEXT_FIELD, sizeof(GadgetKind), ColourTextField,
                                    ReleaseTextFieldResources, nullptr};

}  // namespace

int64_t CreateTextField(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                        const wchar_t* text, uint32_t flags) {
  DWORD extendedStyle = (flags & TEXT_FIELD_BORDERLESS) ? 0 : WS_EX_CLIENTEDGE;
  HWND control = CreateGadgetControl(extendedStyle, EDIT_CLASS, text, TEXT_FIELD_STYLE | flags, x,
                                     y, width, height);
  if (!control) return 0;
  // Only now that the new control exists does an older gadget of this number go.
  auto* record = static_cast<GadgetRecord*>(ObtainObjectRecord(GadgetTable(), number));
  if (!record) {
    DestroyWindow(control);
    return 0;
  }
  editClassProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextFieldProcedure)));
  record->textColour = DEFAULT_COLOUR;
  record->backColour = DEFAULT_COLOUR;
  return RegisterGadget(number, record, control, &TEXT_FIELD_KIND);
}
