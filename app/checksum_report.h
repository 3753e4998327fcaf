#pragma once
// The report of one file: its eleven checksums behind their labels in fields 1 to 11, and its
// path in the status bar.
#include <cstdint>

#include "runtime/text.h"

constexpr int64_t REPORT_STATUS_BAR = 14;

// The text field of report row `row` (0 to 10): the rows' order, from field 1.
constexpr int64_t ReportField(int row) {
  return row + 1;
}

// An empty path changes nothing. Otherwise all eleven digests are computed, all of one version of
// the file, before any field changes; a file that cannot be read leaves the bare labels.
void ShowChecksums(const Text& path);
