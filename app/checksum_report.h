#pragma once
// The report of one file: its eleven checksums behind their labels in fields 1 to 11, and its
// path in the status bar.
#include "runtime/text.h"

constexpr int64_t REPORT_STATUS_BAR = 14;

// An empty path changes nothing. Otherwise all eleven digests are computed, all of one version of
// the file, before any field changes; a file that cannot be read leaves the bare labels.
void ShowChecksums(const Text& path);
