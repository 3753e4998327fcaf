#pragma once
// The text that Copy puts on the clipboard: one line a file, CRLF-ended as Windows programs
// paste it.
#include <cstddef>
#include <vector>

#include "verify/check_rows.h"

// "NAME: OK", "NAME: FAILED (SHA-256, expected HEX, computed HEX)", "NAME: MISSING (reason)",
// for the rows at `selected` (indexes into `rows`, in their order), or every row when it is
// empty.
Text CopiedRowsText(const std::vector<CheckRow>& rows, const std::vector<size_t>& selected);
