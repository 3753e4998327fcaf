// What the window shows for a file it cannot read and for one it can: each row's label, one
// space and the digest in upper case. The digests' own correctness is checked in tests/digest.
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
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) EXPECT_EQ(digests[i], L"");
  EXPECT_EQ(ReportLine(REPORT_ROWS[1], L""), L"MD5: ");
}

// "abc": the examples of FIPS 180-4 and FIPS 202, RFC 1321's test suite and CRC-32's.
TEST_F(ReportTable, EveryRowShowsItsDigestOfAFileInUpperCase) {
  const Text expected[REPORT_ROW_COUNT] = {
      L"CRC32: 352441C2",
      L"MD5: 900150983CD24FB0D6963F7D28E17F72",
      L"SHA-1: A9993E364706816ABA3E25717850C26C9CD0D89D",
      L"SHA-2 (224): 23097D223405D8228642A477BDA255B32AADBCE4BDA0B3F7E36C9DA7",
      L"SHA-2 (256): BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD",
      L"SHA-2 (384): CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED8086072BA1E7"
      L"CC2358BAECA134C825A7",
      L"SHA-2 (512): DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A2192992A274F"
      L"C1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F",
      L"SHA-3 (224): E642824C3F8CF24AD09234EE7D3C766FC9A3A5168D0C94AD73B46FDF",
      L"SHA-3 (256): 3A985DA74FE225B2045C172D6BD390BD855F086E3E9D525B46BFE24511431532",
      L"SHA-3 (384): EC01498288516FC926459F58E2C6AD8DF9B473CB0FC08C2596DA7CF0E49BE4B298D88CEA927A"
      L"C7F539F1EDF228376D25",
      L"SHA-3 (512): B751850B1A57168A5693CD924B6B096E08F621827444F70D884F5D0240D2712E10E116E9192A"
      L"F3C91A7EC57647E3934057340B4CF408D5A56592F8274EEC53F0",
  };
  const ReportDigests digests = ComputeReportDigests(WriteScratchFile("abc.txt", "abc"));
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    EXPECT_EQ(ReportLine(REPORT_ROWS[i], digests[i]), expected[i]);
  }
}

}  // namespace
