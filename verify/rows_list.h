#pragma once
// The rows as a virtual list view (owner data): the control asks for each visible cell as it
// draws it, so ten thousand rows cost no more than twenty.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "verify/row_table.h"

// Makes the list view under ROWS_LIST in `window`, its columns sized for `dpi`.
HWND CreateRowsList(HWND window, uint32_t dpi);
void SizeRowsListColumns(HWND list, uint32_t dpi);

// The rows the list draws from; they must stay in place until the next call.
void ShowRows(HWND list, const RowTable* rows);
// Redraws the rows from `first` to `last` that are in sight, of those last shown.
void ShowChangedRows(HWND list, size_t first, size_t last);

// The indexes of the selected rows, in order.
std::vector<size_t> SelectedRows(HWND list);
