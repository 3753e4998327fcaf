#pragma once
// The eleven rows of a file's checksum report, in the order shown: the window (whose fields are
// numbered by it) and the console companion's report both take them from here.
#include <array>

#include "report/algorithm_table.h"
#include "runtime/text.h"

// The window's eleven rows, a view of the first rows of the algorithm table.
constexpr std::array<ReportRow, REPORT_ROW_COUNT> WindowRows() {
  std::array<ReportRow, REPORT_ROW_COUNT> rows{};
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) rows[i] = ALGORITHMS[i].row;
  return rows;
}
inline constexpr std::array<ReportRow, REPORT_ROW_COUNT> REPORT_ROWS = WindowRows();

// Goes before the path in the report's last line.
inline constexpr wchar_t FILE_PATH_PREFIX[] = L"File Path: ";

using ReportDigests = std::array<Text, REPORT_ROW_COUNT>;

// The eleven digests of the whole file in the table's order, all computed before any is shown;
// a file that cannot be read gives eleven empty texts.
ReportDigests ComputeReportDigests(const Text& path);

// The row's label, one space and the digest upper-cased: "SHA-2 (256): 9F86...". An empty digest
// leaves the label and its space alone.
Text ReportLine(const ReportRow& row, const Text& digest);
