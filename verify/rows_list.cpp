#include "verify/rows_list.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "verify/control_numbers.h"
#include "verify/window_layout.h"

namespace {

constexpr int32_t ROWS_LIST_KIND = 101;
constexpr DWORD LIST_STYLE =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
constexpr DWORD LIST_EXTENDED_STYLE = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
// Column widths at 96 DPI, in RowColumn order.
constexpr int32_t COLUMN_WIDTHS[ROW_COLUMN_COUNT] = {220, 80, 90, 190, 260, 260};

const RowTable* shownRows = nullptr;  // the controller's, not ours

void FillCell(NMLVDISPINFOW* request) {
  LVITEMW& item = request->item;
  if (!(item.mask & LVIF_TEXT) || !shownRows || item.cchTextMax <= 0) return;
  const auto index = static_cast<size_t>(item.iItem);
  const auto column = static_cast<size_t>(item.iSubItem);
  Text text;
  if (index < shownRows->size() && column < ROW_COLUMN_COUNT) {
    text = CellText((*shownRows)[index], static_cast<RowColumn>(column));
  }
  const size_t length = std::min<size_t>(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
  text.copy(item.pszText, length);
  item.pszText[length] = L'\0';
}

LRESULT OnParentMessage(GadgetRecord*, HWND, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return NOT_HANDLED;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code != LVN_GETDISPINFOW) return NOT_HANDLED;
  FillCell(reinterpret_cast<NMLVDISPINFOW*>(lParam));
  return 0;
}

const GadgetKind ROWS_LIST_GADGET = {ROWS_LIST_KIND, sizeof(GadgetKind), OnParentMessage, nullptr,
                                     nullptr};

}  // namespace

HWND CreateRowsList(HWND window, uint32_t dpi) {
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", LIST_STYLE, 0, 0, 10, 10, window,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!list) return nullptr;
  auto* record = static_cast<GadgetRecord*>(ObtainObjectRecord(GadgetTable(), ROWS_LIST));
  if (!record) {
    DestroyWindow(list);
    return nullptr;
  }
  RegisterGadget(ROWS_LIST, record, list, &ROWS_LIST_GADGET);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LIST_EXTENDED_STYLE, LIST_EXTENDED_STYLE);
  for (size_t i = 0; i < ROW_COLUMN_COUNT; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(ColumnTitle(static_cast<RowColumn>(i)));
    column.cx = ScaleForDpi(COLUMN_WIDTHS[i], dpi);
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  return list;
}

void SizeRowsListColumns(HWND list, uint32_t dpi) {
  for (size_t i = 0; i < ROW_COLUMN_COUNT; ++i) {
    SendMessageW(list, LVM_SETCOLUMNWIDTH, i, ScaleForDpi(COLUMN_WIDTHS[i], dpi));
  }
}

void ShowRows(HWND list, const RowTable* rows) {
  shownRows = rows;
  const auto count = static_cast<WPARAM>(rows ? rows->size() : 0);
  // Setting the count costs tens of milliseconds under Wine even when it stays the same, which it
  // does while a run fills in its rows.
  if (static_cast<WPARAM>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) != count) {
    // Keeps the scroll position.
    SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }
  InvalidateRect(list, nullptr, FALSE);
}

void ShowChangedRows(HWND list, size_t first, size_t last) {
  // Drawing is slow under Wine, and a run of many files mostly changes rows out of sight.
  const auto top = static_cast<size_t>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  const auto page = static_cast<size_t>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  first = std::max(first, top);
  last = std::min(last, top + page);  // the row cut by the bottom edge too
  if (first <= last) SendMessageW(list, LVM_REDRAWITEMS, first, last);
}

std::vector<size_t> SelectedRows(HWND list) {
  std::vector<size_t> selected;
  for (LRESULT at = -1;;) {
    at = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED);
    if (at < 0) break;
    selected.push_back(static_cast<size_t>(at));
  }
  return selected;
}
