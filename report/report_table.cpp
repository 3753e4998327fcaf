#include "report/report_table.h"

#include "digest/compute_file_digest.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The system's upper-casing on Windows, applied to a copy. Elsewhere a digest's hexadecimal
// digits need nothing more than letters a to z upper-cased, which is all the system's rules do
// to them.
Text UpperCased(Text text) {
#ifdef _WIN32
  if (!text.empty()) CharUpperW(text.data());
#else
  for (wchar_t& character : text) {
    if (character >= L'a' && character <= L'z')
      character = static_cast<wchar_t>(character - L'a' + L'A');
  }
#endif
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
