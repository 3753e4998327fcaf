#include "app/checksum_report.h"

#include "report/report_table.h"
#include "toolkit/gadgets.h"
#include "toolkit/status_bar.h"

void ShowChecksums(const Text& path) {
  if (path.empty()) return;
  const ReportDigests digests = ComputeReportDigests(path);
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    ChangeGadgetText(REPORT_ROWS[i].field, ReportLine(REPORT_ROWS[i], digests[i]).c_str());
  }
  SetStatusSectionText(REPORT_STATUS_BAR, 0, (FILE_PATH_PREFIX + path).c_str());
}
