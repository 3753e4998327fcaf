#include "app/report_table.h"

#include "digest/compute_file_digest.h"

namespace {

// A digest holds only hexadecimal digits, for which upper-casing letters a to z is all that the
// system's upper-casing does.
Text UpperCased(Text text) {
  for (wchar_t& character : text) {
    if (character >= L'a' && character <= L'z')
      character = static_cast<wchar_t>(character - L'a' + L'A');
  }
  return text;
}

}  // namespace

ReportDigests ComputeReportDigests(const Text& path) {
  ReportDigests digests;
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    digests[i] = ComputeFileDigest(path, REPORT_ROWS[i].algorithm, REPORT_ROWS[i].bits);
  }
  return digests;
}

Text ReportLine(const ReportRow& row, const Text& digest) {
  return Text(row.label) + L" " + UpperCased(digest);
}
