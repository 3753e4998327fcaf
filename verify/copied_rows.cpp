#include "verify/copied_rows.h"

namespace {

Text RowLine(const CheckRow& row) {
  Text line = row.name + L": " + StatusWord(row.status);
  if (row.status == RowStatus::FAILED) {
    line += L" (" + row.algorithm + L", expected " + row.expected + L", computed " + row.computed +
            L")";
  } else if (!row.reason.empty()) {
    line += L" (" + row.reason + L")";
  }
  return line + L"\r\n";
}

}  // namespace

Text CopiedRowsText(const std::vector<CheckRow>& rows, const std::vector<size_t>& selected) {
  Text text;
  if (selected.empty()) {
    for (const CheckRow& row : rows) text += RowLine(row);
  }
  for (size_t index : selected) {
    if (index < rows.size()) text += RowLine(rows[index]);
  }
  return text;
}
