#include "toolkit/gadget_internals.h"
#include "toolkit/gadgets.h"
#include "toolkit/toolkit_names.h"

namespace {

constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP;  // 0x50030000

const GadgetKind BUTTON_KIND = {GADGET_KIND_BUTTON, sizeof(GadgetKind), nullptr, nullptr, nullptr};

}  // namespace

int64_t CreateButton(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                     const wchar_t* text, uint32_t flags) {
  HWND control =
      CreateGadgetControl(0, BUTTON_CLASS, text, BUTTON_STYLE | flags, x, y, width, height);
  if (!control) return 0;
  // Only now that the new control exists does an older gadget of this number go.
  auto* record = static_cast<GadgetRecord*>(ObtainObjectRecord(GadgetTable(), number));
  if (!record) {
    DestroyWindow(control);
    return 0;
  }
  return RegisterGadget(number, record, control, &BUTTON_KIND);
}
