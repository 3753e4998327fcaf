// What the window shows for a file it cannot read; the digests themselves are checked through
// the console companion.
#include "report/report_table.h"

#include <gtest/gtest.h>

#include "digest/register_digest_plugins.h"
#include "tests/support/temp_files.h"

namespace {

class ReportTable : public testing::Test {
 protected:
  void SetUp() override { RegisterDigestPlugins(); }
};

TEST_F(ReportTable, UnreadableFileLeavesEveryLabelWithItsSpaceAlone) {
  const ReportDigests digests = ComputeReportDigests(TextFromPath(ScratchFolder() / "missing.bin"));
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    EXPECT_EQ(digests[i], L"");
    EXPECT_EQ(ReportLine(REPORT_ROWS[i], digests[i]), Text(REPORT_ROWS[i].label) + L" ");
  }
  EXPECT_EQ(ReportLine(REPORT_ROWS[1], L""), L"MD5: ");
}

}  // namespace
