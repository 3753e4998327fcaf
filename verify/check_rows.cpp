#include "verify/check_rows.h"

const wchar_t* StatusWord(RowStatus status) {
  switch (status) {
    case RowStatus::WAITING:
      return L"";
    case RowStatus::OK:
      return L"OK";
    case RowStatus::FAILED:
      return L"FAILED";
    case RowStatus::MISSING:
      return L"MISSING";
    case RowStatus::UNREADABLE:
      return L"UNREADABLE";
    case RowStatus::NOT_CHECKED:
      return L"NOT CHECKED";
    case RowStatus::UNLISTED:
      return L"UNLISTED";
  }
  return L"";
}

const wchar_t* ColumnTitle(RowColumn column) {
  switch (column) {
    case RowColumn::NAME:
      return L"Name";
    case RowColumn::ALGORITHM:
      return L"Algorithm";
    case RowColumn::SIZE:
      return L"Size";
    case RowColumn::STATUS:
      return L"Status";
    case RowColumn::EXPECTED:
      return L"Expected";
    case RowColumn::COMPUTED:
      return L"Computed";
  }
  return L"";
}

Text CellText(const CheckRow& row, RowColumn column) {
  switch (column) {
    case RowColumn::NAME:
      return row.name;
    case RowColumn::ALGORITHM:
      return row.algorithm;
    case RowColumn::SIZE:
      return row.size < 0 ? Text() : std::to_wstring(row.size);
    case RowColumn::STATUS:
      if (row.reason.empty()) return StatusWord(row.status);
      return Text(StatusWord(row.status)) + L" (" + row.reason + L")";
    case RowColumn::EXPECTED:
      return row.status == RowStatus::FAILED ? row.expected : Text();
    case RowColumn::COMPUTED:
      // A file listed in a sums file being made has no expected digest: its own is what counts.
      return row.status == RowStatus::FAILED || row.expected.empty() ? row.computed : Text();
  }
  return Text();
}

bool IsFailure(RowStatus status) {
  return status == RowStatus::FAILED || status == RowStatus::MISSING ||
         status == RowStatus::UNREADABLE;
}
