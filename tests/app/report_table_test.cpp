// What the window shows for a file it cannot read, and the digests the report asks for.
#include "app/report_table.h"

#include <gtest/gtest.h>

#include "digest/compute_file_digest.h"
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

TEST_F(ReportTable, DigestsComeUpperCasedBehindTheLabel) {
  const ReportDigests digests = ComputeReportDigests(WriteScratchFile("digits.txt", "123456789"));
  EXPECT_EQ(ReportLine(REPORT_ROWS[0], digests[0]), L"CRC32: CBF43926");
  EXPECT_EQ(ReportLine(REPORT_ROWS[1], digests[1]), L"MD5: 25F9E794323B453885F5181F1B624D0B");
}

TEST_F(ReportTable, Sha2AndSha3OfTheSameSizeDiffer) {
  // Fields 5 and 9: both 256 bits, of different algorithms.
  const ReportDigests digests = ComputeReportDigests(WriteScratchFile("abc.txt", "abc"));
  EXPECT_EQ(digests[4].size(), 64u);
  EXPECT_EQ(digests[8].size(), 64u);
  EXPECT_NE(digests[4], digests[8]);
}

}  // namespace
