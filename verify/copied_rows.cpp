#include "verify/copied_rows.h"

Text CopiedRowLine(const CheckRow& row) {
  Text line = row.name + L": " + StatusWord(row.status);
  if (row.status == RowStatus::FAILED) {
    line += L" (" + row.algorithm + L", expected " + row.expected + L", computed " + row.computed +
            L")";
  } else if (!row.reason.empty()) {
    line += L" (" + row.reason + L")";
  }
  return line + L"\r\n";
}
