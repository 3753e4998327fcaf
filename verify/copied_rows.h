#pragma once
// The text that Copy puts on the clipboard: one line a file, CRLF-ended as Windows programs
// paste it.
#include <cstddef>
#include <vector>

#include "verify/check_rows.h"

// "NAME: OK", "NAME: FAILED (SHA-256, expected HEX, computed HEX)", "NAME: MISSING (reason)".
Text CopiedRowLine(const CheckRow& row);

// The lines of the rows at `selected` (indexes into `rows`, in their order), or of every row when
// it is empty. `Rows` gives size() and a CheckRow by index.
template <typename Rows>
Text CopiedRowsText(const Rows& rows, const std::vector<size_t>& selected) {
  Text text;
  if (selected.empty()) {
    for (size_t index = 0; index < rows.size(); ++index) text += CopiedRowLine(rows[index]);
  }
  for (size_t index : selected) {
    if (index < rows.size()) text += CopiedRowLine(rows[index]);
  }
  return text;
}
