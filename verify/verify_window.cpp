#include "verify/verify_window.h"

#include <commctrl.h>
#include <ole2.h>

#include "toolkit/drop_support.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/scoped_handles.h"
#include "verify/control_numbers.h"
#include "verify/rows_list.h"
#include "verify/window_layout.h"

namespace {

constexpr uint32_t WINDOW_FLAGS = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                  WS_THICKFRAME | WINDOW_CENTER_ON_SCREEN;
constexpr int32_t VERDICT_KIND = 102;
constexpr int32_t CF_HDROP_FORMAT = 15;
constexpr int32_t DROP_COPY_AND_LINK = DROPEFFECT_COPY | DROPEFFECT_LINK;
constexpr int32_t PROGRESS_RANGE = 1000;
constexpr int32_t VERDICT_FONT_HEIGHT = 24;  // pixels at 96 DPI
constexpr COLORREF GREEN = RGB(0x1B, 0x7A, 0x35), RED = RGB(0xB3, 0x1B, 0x1B);
constexpr COLORREF ON_COLOUR = RGB(0xFF, 0xFF, 0xFF);
constexpr UINT DPI_CHANGED = 0x02E0;  // WM_DPICHANGED, Windows 8.1 on
constexpr UINT_PTR DPI_SUBCLASS = 1;

struct WindowLook {
  uint32_t dpi = 96;
  HFONT textFont = nullptr;     // ours
  HFONT verdictFont = nullptr;  // ours
  HBRUSH green = nullptr;       // ours
  HBRUSH red = nullptr;         // ours
  VerdictColour colour = VerdictColour::NEUTRAL;
};

WindowLook look;

HWND Window() {
  return WindowHandle(VERIFY_WINDOW);
}

uint32_t DpiOf(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const LoadedLibrary user32(L"user32.dll");
  static const auto dpiForWindow = user32.Find<DpiForWindow>("GetDpiForWindow");
  if (dpiForWindow && window) return dpiForWindow(window);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<uint32_t>(dpi) : 96;
}

bool HighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The message font, at the window's DPI; the verdict's larger and bold.
void MakeFonts() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight =
      MulDiv(font.lfHeight, static_cast<int>(look.dpi), static_cast<int>(DpiOf(nullptr)));
  HFONT text = CreateFontIndirectW(&font);
  font.lfHeight = -ScaleForDpi(VERDICT_FONT_HEIGHT, look.dpi);
  font.lfWeight = FW_BOLD;
  HFONT verdict = CreateFontIndirectW(&font);
  if (look.textFont) DeleteObject(look.textFont);
  if (look.verdictFont) DeleteObject(look.verdictFont);
  look.textFont = text;
  look.verdictFont = verdict;
}

void ApplyFonts() {
  for (int32_t control = VERDICT_TEXT; control <= ADD_BUTTON; ++control) {
    HFONT font = control == VERDICT_TEXT ? look.verdictFont : look.textFont;
    SendMessageW(VerifyControlHandle(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

LRESULT ColourVerdict(GadgetRecord*, HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_CTLCOLORSTATIC || look.colour == VerdictColour::NEUTRAL || HighContrast()) {
    return NOT_HANDLED;
  }
  auto deviceContext = reinterpret_cast<HDC>(wParam);
  const bool green = look.colour == VerdictColour::GREEN;
  SetTextColor(deviceContext, ON_COLOUR);
  SetBkColor(deviceContext, green ? GREEN : RED);
  return reinterpret_cast<LRESULT>(green ? look.green : look.red);
}

const GadgetKind VERDICT_GADGET = {VERDICT_KIND, sizeof(GadgetKind), ColourVerdict, nullptr,
                                   nullptr};

HWND CreateChild(int32_t number, const wchar_t* className, const wchar_t* text, DWORD style,
                 const GadgetKind* kind) {
  HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                                 Window(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!control) return nullptr;
  auto* record = static_cast<GadgetRecord*>(ObtainObjectRecord(GadgetTable(), number));
  if (!record) {
    DestroyWindow(control);
    return nullptr;
  }
  RegisterGadget(number, record, control, kind);
  return control;
}

const GadgetKind PLAIN_GADGET = {0, sizeof(GadgetKind), nullptr, nullptr, nullptr};

bool CreateControls() {
  CreateChild(VERDICT_TEXT, L"Static", L"", SS_CENTER | SS_NOPREFIX, &VERDICT_GADGET);
  CreateChild(DETAILS_TEXT, L"Static", L"", SS_CENTER | SS_NOPREFIX, &PLAIN_GADGET);
  CreateChild(FILE_LABEL, L"Static", L"Sums file or file:", SS_NOPREFIX, &PLAIN_GADGET);
  CreateTextField(FILE_BOX, 0, 0, 10, 10, L"", ES_READONLY);
  CreateButton(OPEN_BUTTON, 0, 0, 10, 10, L"Open...");
  CreateChild(DIGEST_LABEL, L"Static", L"Digest or second file:", SS_NOPREFIX, &PLAIN_GADGET);
  CreateTextField(DIGEST_BOX, 0, 0, 10, 10, L"");
  CreateButton(COMPARE_BUTTON, 0, 0, 10, 10, L"Compare with...");
  CreateChild(PROGRESS_BAR, PROGRESS_CLASSW, L"", 0, &PLAIN_GADGET);
  CreateChild(CURRENT_TEXT, L"Static", L"", SS_NOPREFIX | SS_PATHELLIPSIS, &PLAIN_GADGET);
  CreateRowsList(Window(), look.dpi);
  CreateButton(COPY_BUTTON, 0, 0, 10, 10, L"Copy");
  CreateButton(CANCEL_BUTTON, 0, 0, 10, 10, L"Cancel");
  CreateButton(ADD_BUTTON, 0, 0, 10, 10, L"");
  ShowWindow(VerifyControlHandle(ADD_BUTTON), SW_HIDE);  // until a check finds unlisted files
  SendMessageW(VerifyControlHandle(PROGRESS_BAR), PBM_SETRANGE32, 0, PROGRESS_RANGE);
  for (int32_t control = VERDICT_TEXT; control <= ADD_BUTTON; ++control) {
    if (!VerifyControlHandle(control)) return false;
  }
  return true;
}

void SetMinimumSize() {
  auto* record = static_cast<WindowRecord*>(LookupObject(WindowTable(), VERIFY_WINDOW));
  record->minWidth = static_cast<uint16_t>(ScaleForDpi(MINIMUM_CLIENT_WIDTH, look.dpi));
  record->minHeight = static_cast<uint16_t>(ScaleForDpi(MINIMUM_CLIENT_HEIGHT, look.dpi));
}

// A window moved to a monitor of another DPI takes the size the system suggests and lays itself
// out again with fonts of that DPI.
LRESULT CALLBACK FollowDpi(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
  if (message == DPI_CHANGED) {
    look.dpi = HIWORD(wParam);
    MakeFonts();
    ApplyFonts();
    SetMinimumSize();
    SizeRowsListColumns(VerifyControlHandle(ROWS_LIST), look.dpi);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutVerifyWindow();
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

HWND VerifyControlHandle(int32_t number) {
  return GetDlgItem(Window(), number);
}

bool BuildVerifyWindow() {
  look.dpi = DpiOf(nullptr);
  if (!OpenNumberedWindow(VERIFY_WINDOW, 0, 0, ScaleForDpi(START_CLIENT_WIDTH, look.dpi),
                          ScaleForDpi(START_CLIENT_HEIGHT, look.dpi), VERIFY_WINDOW_TITLE,
                          WINDOW_FLAGS | WINDOW_HIDDEN)) {
    return false;
  }
  look.dpi = DpiOf(Window());
  look.green = CreateSolidBrush(GREEN);
  look.red = CreateSolidBrush(RED);
  MakeFonts();
  if (!CreateControls()) return false;
  ApplyFonts();
  SetMinimumSize();
  SetWindowSubclass(Window(), FollowDpi, DPI_SUBCLASS, 0);
  AcceptWindowDrops(VERIFY_WINDOW, CF_HDROP_FORMAT, DROP_COPY_AND_LINK);
  LayOutVerifyWindow();
  // Shown once whole: children made and placed in a hidden window cost no redraws.
  ShowWindow(Window(), SW_SHOWNORMAL);
  return true;
}

void LayOutVerifyWindow() {
  RECT client;
  GetClientRect(Window(), &client);
  ControlPlace places[LAID_OUT_CONTROLS];
  LayOutControls(client.right, client.bottom, look.dpi, places);
  HDWP moves = BeginDeferWindowPos(LAID_OUT_CONTROLS);
  for (const ControlPlace& place : places) {
    HWND control = VerifyControlHandle(place.control);
    if (moves && control) {
      moves = DeferWindowPos(moves, control, nullptr, place.x, place.y, place.width, place.height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (moves) EndDeferWindowPos(moves);
}

void ShowVerdict(const Verdict& verdict) {
  look.colour = verdict.colour;
  ChangeGadgetText(VERDICT_TEXT, verdict.text.c_str());
  ChangeGadgetText(DETAILS_TEXT, verdict.details.c_str());
  InvalidateRect(VerifyControlHandle(VERDICT_TEXT), nullptr, TRUE);
}

void ShowProgress(int32_t permille, const Text& current) {
  SendMessageW(VerifyControlHandle(PROGRESS_BAR), PBM_SETPOS, permille, 0);
  ChangeGadgetText(CURRENT_TEXT, current.c_str());
}
