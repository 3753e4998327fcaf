// The rows' cells, their order after a run and the text Copy gives.
#include <gtest/gtest.h>

#include "verify/check_rows.h"
#include "verify/copied_rows.h"
#include "verify/row_table.h"

namespace {

CheckRow Row(const wchar_t* name, RowStatus status, const wchar_t* reason = L"") {
  CheckRow row;
  row.name = name;
  row.algorithm = L"SHA-256";
  row.status = status;
  row.reason = reason;
  row.expected = L"aa";
  row.computed = L"bb";
  row.size = 3;
  return row;
}

TEST(Rows, StatusCellsCarryTheReasonAndOnlyAFailureShowsDigests) {
  const CheckRow missing = Row(L"a", RowStatus::MISSING, L"No such file or directory");
  EXPECT_EQ(CellText(missing, RowColumn::STATUS), L"MISSING (No such file or directory)");
  EXPECT_EQ(CellText(missing, RowColumn::EXPECTED), L"");
  const CheckRow failed = Row(L"b", RowStatus::FAILED);
  EXPECT_EQ(CellText(failed, RowColumn::STATUS), L"FAILED");
  EXPECT_EQ(CellText(failed, RowColumn::EXPECTED), L"aa");
  EXPECT_EQ(CellText(failed, RowColumn::COMPUTED), L"bb");
  EXPECT_EQ(CellText(failed, RowColumn::SIZE), L"3");
  EXPECT_EQ(CellText(Row(L"c", RowStatus::WAITING), RowColumn::STATUS), L"");
}

TEST(Rows, AfterARunFailuresComeFirstAndFilesNotHereAfterThoseChecked) {
  const std::pair<const wchar_t*, RowStatus> listed[] = {
      {L"ok1", RowStatus::OK},      {L"miss1", RowStatus::MISSING},   {L"fail1", RowStatus::FAILED},
      {L"ok2", RowStatus::OK},      {L"bad1", RowStatus::UNREADABLE}, {L"fail2", RowStatus::FAILED},
      {L"left", RowStatus::WAITING}};
  auto listing = std::make_shared<Listing>();
  for (const auto& [name, status] : listed) {
    listing->Add(ProperEntry(SumsLineForm::GNU, nullptr, L"01234567", name), AllAlgorithms());
  }
  RowTable rows;
  rows.List(listing);
  for (size_t i = 0; i < rows.size(); ++i) {
    RowOutcome outcome;
    outcome.status = listed[i].second;
    rows.Set(i, std::move(outcome));
  }
  rows.End(true);
  std::vector<Text> names;
  for (size_t i = 0; i < rows.size(); ++i) names.push_back(rows[i].name);
  EXPECT_EQ(rows.back().status, RowStatus::NOT_CHECKED);
  const RowCounts counts = rows.Counts();
  EXPECT_EQ(std::vector<size_t>(
                {counts.ok, counts.failed, counts.unreadable, counts.missing, counts.waiting}),
            std::vector<size_t>({2, 2, 1, 1, 1}));
  EXPECT_EQ(names,
            (std::vector<Text>{L"fail1", L"fail2", L"bad1", L"ok1", L"ok2", L"miss1", L"left"}));
}

TEST(Rows, CopyGivesTheSelectedRowsOrEveryRowOneLineEach) {
  const std::vector<CheckRow> rows = {Row(L"a.iso", RowStatus::OK),
                                      Row(L"b.iso", RowStatus::FAILED),
                                      Row(L"c.iso", RowStatus::MISSING, L"No such file")};
  EXPECT_EQ(
      CopiedRowsText(rows, {1, 2}),
      L"b.iso: FAILED (SHA-256, expected aa, computed bb)\r\nc.iso: MISSING (No such file)\r\n");
  EXPECT_EQ(CopiedRowsText(rows, {}),
            L"a.iso: OK\r\nb.iso: FAILED (SHA-256, expected aa, computed bb)\r\n"
            L"c.iso: MISSING (No such file)\r\n");
}

}  // namespace
