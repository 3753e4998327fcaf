// The verdict's words, colours and counts as the window shows them.
#include "verify/verdict.h"

#include <gtest/gtest.h>

#include "verify/created_sums_file.h"

namespace {

RowCounts Counts(size_t ok, size_t failed, size_t missing, size_t unreadable, size_t waiting = 0) {
  RowCounts counts;
  counts.ok = ok;
  counts.failed = failed;
  counts.missing = missing;
  counts.unreadable = unreadable;
  counts.waiting = waiting;
  return counts;
}

TEST(Verdict, AllOkIsGreenAndSaysHowMany) {
  const Verdict all = SumsFileVerdict(Counts(12, 0, 0, 0), {}, RunState::DONE);
  EXPECT_EQ(all.text, L"All 12 files OK");
  EXPECT_EQ(all.colour, VerdictColour::GREEN);
  EXPECT_EQ(all.details, L"12 OK, 0 FAILED, 0 MISSING, 0 UNREADABLE");
  EXPECT_EQ(SumsFileVerdict(Counts(1, 0, 0, 0), {}, RunState::DONE).text, L"1 file OK");
}

TEST(Verdict, FailuresAreRedAndTheFirstSaysOfHowMany) {
  const Verdict mixed = SumsFileVerdict(Counts(9, 2, 1, 0), {}, RunState::DONE);
  EXPECT_EQ(mixed.text, L"2 of 12 FAILED, 1 MISSING");
  EXPECT_EQ(mixed.colour, VerdictColour::RED);
  EXPECT_EQ(SumsFileVerdict(Counts(3, 0, 1, 2), {}, RunState::DONE).text,
            L"1 of 6 MISSING, 2 UNREADABLE");
}

// Every road to the end of a run: green only when all listed were checked and OK and the sums file
// was read through; files not here beside good ones are said without alarm.
TEST(Verdict, GreenOnlyWhenEverythingListedWasReadCheckedAndOk) {
  const SumsFileFacts cut{L"SHA256SUMS", L"Input/output error", Text()};
  const SumsFileFacts oneOk{L"SHA256SUMS", Text(), L"setup.exe"};
  const struct {
    RowCounts counts;
    RunState state;
    SumsFileFacts facts;
    const wchar_t* text;
    VerdictColour colour;
  } cases[] = {
      {Counts(12, 0, 0, 0), RunState::DONE, cut,
       L"SHA256SUMS could not be read to the end: Input/output error. 12 entries read before it "
       L"stopped.",
       VerdictColour::RED},
      {Counts(1, 0, 0, 0), RunState::CANCELLED, cut,
       L"SHA256SUMS could not be read to the end: Input/output error. 1 entry read before it "
       L"stopped.",
       VerdictColour::RED},
      {Counts(1, 0, 3, 0), RunState::DONE, oneOk,
       L"setup.exe OK; 3 other listed files are not in this folder", VerdictColour::NEUTRAL},
      {Counts(2, 0, 1, 0),
       RunState::DONE,
       {},
       L"2 files OK; 1 other listed file is not in this folder",
       VerdictColour::NEUTRAL},
      {Counts(1, 1, 2, 0), RunState::DONE, oneOk, L"1 of 4 FAILED, 2 MISSING", VerdictColour::RED},
      {Counts(0, 0, 4, 0), RunState::DONE, {}, L"4 of 4 MISSING", VerdictColour::RED},
      {Counts(3, 0, 0, 0, 2), RunState::DONE, {}, L"2 NOT CHECKED", VerdictColour::RED},
  };
  for (const auto& each : cases) {
    const Verdict verdict = SumsFileVerdict(each.counts, {}, each.state, each.facts);
    EXPECT_EQ(verdict.text, each.text);
    EXPECT_EQ(verdict.colour, each.colour) << Utf8FromText(verdict.text);
  }
}

TEST(Verdict, LinesNotUnderstoodAreCountedAndNamedByNumber) {
  EXPECT_EQ(SumsFileVerdict(Counts(2, 0, 0, 0), {7}, RunState::DONE).details,
            L"2 OK, 0 FAILED, 0 MISSING, 0 UNREADABLE; 1 line not understood: line 7");
  std::vector<size_t> many;
  for (size_t line = 1; line <= 13; ++line) many.push_back(line * 2);
  EXPECT_EQ(SumsFileVerdict(Counts(2, 0, 0, 0), many, RunState::DONE).details,
            L"2 OK, 0 FAILED, 0 MISSING, 0 UNREADABLE; 13 lines not understood: lines "
            L"2, 4, 6, 8, 10, 12, 14, 16, 18, 20 and 3 more");
}

TEST(Verdict, WhileRunningAndAfterCancelItSaysHowFar) {
  const Verdict running = SumsFileVerdict(Counts(3, 1, 0, 0, 8), {}, RunState::RUNNING);
  EXPECT_EQ(running.text, L"Checking 4 of 12 files...");
  EXPECT_EQ(running.colour, VerdictColour::NEUTRAL);
  const Verdict cancelled = SumsFileVerdict(Counts(3, 1, 0, 0, 8), {}, RunState::CANCELLED);
  EXPECT_EQ(cancelled.text, L"Cancelled after 4 of 12 files: 1 FAILED");
  EXPECT_EQ(cancelled.colour, VerdictColour::RED);
  EXPECT_EQ(SumsFileVerdict(Counts(3, 0, 0, 0, 9), {}, RunState::CANCELLED).colour,
            VerdictColour::NEUTRAL);
}

TEST(Verdict, ASumsFileWithNoLineUnderstoodSaysSoInOneSentence) {
  const Verdict none = NoCheckLineVerdict(L"notes.txt", 40);
  EXPECT_EQ(none.text,
            L"notes.txt has no line that this program understands as a file and its checksum.");
  EXPECT_EQ(none.colour, VerdictColour::RED);
}

}  // namespace

namespace {

TEST(CreateVerdict, SaysHowFarWhatTheFileHoldsAndWhatWasLeftOut) {
  const auto saved = [](size_t files, size_t unreadable) {
    return SaveOutcome{SaveState::SAVED, L"SHA256SUMS", files, unreadable, Text()};
  };
  const std::tuple<RowCounts, RunState, SaveOutcome, Text, VerdictColour> cases[] = {
      {Counts(3, 0, 0, 1, 1200),
       RunState::RUNNING,
       {},
       L"Reading files: 4 of 1,204",
       VerdictColour::NEUTRAL},
      {Counts(3, 0, 0, 0, 9),
       RunState::CANCELLED,
       {},
       L"Cancelled: no checksums file was written",
       VerdictColour::NEUTRAL},
      {Counts(1204, 0, 0, 2),
       RunState::DONE,
       {},
       L"1,204 files read; 2 could not be read and are not in it",
       VerdictColour::NEUTRAL},
      {Counts(1204, 0, 0, 0), RunState::DONE, saved(1204, 0), L"1,204 files in SHA256SUMS",
       VerdictColour::GREEN},
      {Counts(1204, 0, 0, 2), RunState::DONE, saved(1204, 2),
       L"1,204 files in SHA256SUMS; 2 could not be read and are not in it", VerdictColour::RED},
      {Counts(1, 0, 0, 1), RunState::DONE, saved(1, 1),
       L"1 file in SHA256SUMS; 1 could not be read and is not in it", VerdictColour::RED},
      {Counts(1, 0, 0, 0),
       RunState::DONE,
       {SaveState::NOT_SAVED, L"SHA256SUMS", 1, 0, Text()},
       L"Not saved: no checksums file was written",
       VerdictColour::NEUTRAL},
      {Counts(1, 0, 0, 0),
       RunState::DONE,
       {SaveState::FAILED, L"SHA256SUMS", 1, 0, L"Access is denied."},
       L"SHA256SUMS was not written: Access is denied.",
       VerdictColour::RED},
  };
  for (const auto& [counts, state, save, text, colour] : cases) {
    const Verdict verdict = CreateVerdict(counts, state, save);
    EXPECT_EQ(verdict.text, text);
    EXPECT_EQ(verdict.colour, colour) << text;
  }
  EXPECT_EQ(GroupedNumber(0), L"0");
  EXPECT_EQ(GroupedNumber(999), L"999");
  EXPECT_EQ(GroupedNumber(1234567), L"1,234,567");
}

}  // namespace
