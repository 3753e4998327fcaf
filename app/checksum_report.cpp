#include "app/checksum_report.h"

#include "digest/compute_file_digest.h"
#include "digest/file/digest_file.h"
#include "report/report_table.h"
#include "toolkit/gadgets.h"
#include "toolkit/status_bar.h"

namespace {

// Each pass opens and closes the file on its own; between two passes another program could write
// or delete it. A handle of our own, read sharing only, held from before the first pass to after
// the last, shuts them out, so the eleven digests are of one version of the file. A file that
// cannot be held gives the bare labels, as an unreadable one does.
ReportDigests DigestsOfOneVersion(const Text& path) {
  DigestFile held;
  if (!IsFilePathText(path) || !held.Open(path).Opened()) return ReportDigests{};
  return ComputeReportDigests(path);
}

}  // namespace

void ShowChecksums(const Text& path) {
  if (path.empty()) return;
  const ReportDigests digests = DigestsOfOneVersion(path);
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    ChangeGadgetText(ReportField(i), ReportLine(REPORT_ROWS[i], digests[i]).c_str());
  }
  SetStatusSectionText(REPORT_STATUS_BAR, 0, (FILE_PATH_PREFIX + path).c_str());
}
