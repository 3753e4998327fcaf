// Checks run on real files as the window runs them: every status, the lines not understood, the
// order after the run, names found beside the sums file, a pasted digest, two files, Cancel; and
// bad input: a binary file, a huge sums file, names beyond ASCII, a file gone in the middle.
#include "verify/check_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <condition_variable>
#include <thread>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "digest/register_digest_plugins.h"
#include "sums/folder_separator.h"
#include "sums/pasted_digest.h"
#include "sums/sums_line_writer.h"
#include "tests/support/temp_files.h"
#include "verify/check_view.h"
#include "verify/pasted_check.h"
#include "verify/sums_file_kind.h"

namespace {

// FIPS 180-2 and FIPS 202 examples: the digests of "abc".
const char SHA256_ABC[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const char SHA256_EMPTY[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const char SHA3_256_ABC[] = "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532";

[[maybe_unused]] const bool registered = [] {
  RegisterDigestPlugins();
  return true;
}();

class Waker {
 public:
  void Wake() {
    std::lock_guard<std::mutex> held(lock);
    woken = true;
    changed.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> held(lock);
    changed.wait_for(held, std::chrono::milliseconds(100), [&] { return woken; });
    woken = false;
  }

 private:
  std::mutex lock;
  std::condition_variable changed;
  bool woken = false;
};

// The view once the run has ended, applied as the window applies it.
template <typename Start>
CheckView RunToEnd(CheckView view, Start start) {
  Waker waker;
  CheckRun run([&] { waker.Wake(); });
  start(run);
  while (view.state == RunState::RUNNING) {
    waker.Wait();
    view.Apply(run.Take());
  }
  return view;
}

Text Folder(const std::string& name) {
  const std::filesystem::path folder = ScratchFolder() / name;
  std::filesystem::create_directories(folder);
  return TextFromPath(folder);
}

std::string Line(const char* hex, const char* name) {
  return std::string(hex) + "  " + name + "\n";
}

TEST(CheckRun, ASumsFileGivesEveryStatusFailuresFirstMissingLastAndNamesTheLinesNotUnderstood) {
  Folder("sums");
  WriteScratchFile("sums/a.txt", "abc");
  WriteScratchFile("sums/b.txt", "abd");
  Folder("sums/folder");
  const Text sums =
      WriteScratchFile("sums/SHA256SUMS", Line(SHA256_ABC, "a.txt") + Line(SHA256_ABC, "b.txt") +
                                              Line(SHA256_ABC, "c.txt") + "not a line\n" +
                                              Line(SHA256_ABC, "folder"));
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(sums); });
  ASSERT_EQ(view.rows.size(), 4u);
  EXPECT_EQ(view.rows[0].name, L"b.txt");
  EXPECT_EQ(view.rows[0].status, RowStatus::FAILED);
  EXPECT_EQ(view.rows[0].expected, TextFromUtf8(SHA256_ABC));
  EXPECT_EQ(view.rows[0].computed.size(), 64u);
  EXPECT_NE(view.rows[0].computed, view.rows[0].expected);
  EXPECT_EQ(view.rows[1].status, RowStatus::UNREADABLE);
  EXPECT_FALSE(view.rows[1].reason.empty());
  EXPECT_EQ(view.rows[2].status, RowStatus::OK);
  EXPECT_EQ(view.rows[2].algorithm, L"SHA-256");
  EXPECT_EQ(view.rows[2].size, 3);
  EXPECT_EQ(view.rows[3].status, RowStatus::MISSING);
  EXPECT_EQ(view.malformedLines, std::vector<size_t>{4});
  EXPECT_EQ(view.CurrentVerdict().text, L"1 of 4 FAILED, 1 MISSING, 1 UNREADABLE");
}

// Files here that no line names come last as UNLISTED, counted with no listed file. A sums file
// whose algorithm no listed file tells (SHA-256 or SHA3-256) takes no line: adding them leaves it
// as it was, and the line under the verdict says why.
TEST(CheckRun, UnlistedFilesComeLastAndAFailedAddLeavesTheSumsFileAsItWas) {
  Folder("unlisted/deep");
  WriteScratchFile("unlisted/a.txt", "abc");
  WriteScratchFile("unlisted/deep/new.txt", "abc");
  WriteScratchFile("unlisted/new.txt", "");
  const std::string listed = Line(SHA256_EMPTY, "a.txt") + Line(SHA256_ABC, "deep/a.txt");
  const Text sums = WriteScratchFile("unlisted/CHECKSUMS", listed);
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView found = RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(sums); });
  ASSERT_EQ(found.rows.size(), 4u);
  EXPECT_EQ(found.rows[3].status, RowStatus::UNLISTED);
  EXPECT_EQ(found.rows.UnlistedNames(), (std::vector<Text>{L"deep/new.txt", L"new.txt"}));
  EXPECT_EQ(found.CurrentVerdict().text, L"1 of 2 FAILED, 1 MISSING");
  EXPECT_NE(found.CurrentVerdict().details.find(L"; 2 files here are not in CHECKSUMS"),
            Text::npos);
  const CheckView added =
      RunToEnd(start, [&](CheckRun& run) { run.AddUnlisted(sums, found.rows.UnlistedNames()); });
  EXPECT_EQ(added.CurrentVerdict().details.rfind(L"CHECKSUMS was left as it was: its digests", 0),
            0u);
  std::ifstream file(ScratchFolder() / "unlisted/CHECKSUMS", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), listed);
  // A sums file of one file beside it says nothing of the others, and none is shown.
  const Text one = WriteScratchFile("unlisted/a.txt.sha256", Line(SHA256_ABC, "a.txt"));
  start.Begin(CheckKind::SUMS_FILE, one);
  EXPECT_EQ(RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(one); }).rows.size(), 1u);
}

TEST(CheckRun, ASumsFileCutShortIsRedThoughEveryRowReadIsOk) {
  CheckView view;
  view.Begin(CheckKind::SUMS_FILE, L"dl/SHA256SUMS");
  RunOutbox listing;
  auto entries = std::make_shared<Listing>();
  entries->Add(ProperEntry(SumsLineForm::GNU, nullptr, TextFromUtf8(SHA256_ABC), L"a"),
               AllAlgorithms());
  listing.listing = entries;
  listing.failure = L"Input/output error";
  view.Apply(std::move(listing));
  RunOutbox end;
  end.updates.push_back({0, RowOutcome()});
  end.updates[0].outcome.status = RowStatus::OK;
  end.finished = true;
  view.Apply(std::move(end));
  EXPECT_EQ(view.CurrentVerdict().colour, VerdictColour::RED);
  EXPECT_EQ(view.CurrentVerdict().text,
            L"SHA256SUMS could not be read to the end: Input/output error. 1 entry read before "
            L"it stopped.");
}

TEST(CheckRun, AnUntaggedDigestOfASharedLengthMatchesTheAlgorithmThatGaveIt) {
  Folder("shared");
  WriteScratchFile("shared/a.txt", "abc");
  const Text sums = WriteScratchFile("shared/CHECKSUMS", Line(SHA3_256_ABC, "a.txt"));
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(sums); });
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].algorithm, L"SHA3-256");
  EXPECT_EQ(view.CurrentVerdict().text, L"1 file OK");
  EXPECT_TRUE(IsSumsFile(sums));
}

CheckView CheckPasted(const Text& file, const Text& pasted) {
  PastedDigest digest;
  Text problem;
  EXPECT_TRUE(ReadPastedDigest(pasted, digest, problem)) << Utf8FromText(problem);
  const AlgorithmList candidates = CandidateAlgorithms(digest);
  CheckView start;
  start.Begin(CheckKind::PASTED_DIGEST, file, candidates);
  return RunToEnd(start, [&](CheckRun& run) { run.CheckDigest(file, candidates, digest.hex); });
}

TEST(CheckRun, APastedDigestNamesTheAlgorithmThatMatchedComputingOnlyThoseItMayBe) {
  const Text file = WriteScratchFile("pasted.txt", "abc");
  const CheckView named = CheckPasted(file, L"sha256:" + TextFromUtf8(SHA256_ABC));
  EXPECT_EQ(named.CurrentVerdict().text, L"Match: SHA-256");
  EXPECT_EQ(named.digests.size(), 1u);
  const CheckView byLength = CheckPasted(file, TextFromUtf8(SHA3_256_ABC));
  EXPECT_EQ(byLength.CurrentVerdict().text, L"Match: SHA3-256");
  EXPECT_EQ(byLength.CurrentVerdict().colour, VerdictColour::GREEN);
  EXPECT_EQ(byLength.digests.size(), 3u);  // SHA-256, SHA3-256 and BLAKE3
  Text wrong = TextFromUtf8(SHA256_ABC);
  wrong[0] = L'c';
  EXPECT_EQ(CheckPasted(file, wrong).CurrentVerdict().text, L"No match");
  // Those beyond the window's eleven, by length and by name (the digests of b3sum and xxhsum).
  const std::pair<const wchar_t*, const wchar_t*> beyond[] = {
      {L"6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85", L"Match: BLAKE3"},
      {L"78af5f94892f3950", L"Match: XXH3"},
      {L"xxh128:06b05ab6733a618578af5f94892f3950", L"Match: XXH128"},
      {L"blake3: 6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85",
       L"Match: BLAKE3"}};
  for (const auto& [pasted, verdict] : beyond) {
    EXPECT_EQ(CheckPasted(file, pasted).CurrentVerdict().text, verdict) << pasted;
  }
  EXPECT_FALSE(IsSumsFile(file));
}

TEST(CheckRun, TwoFilesAreTheSameOnlyWithTheSameSizeAndSha256) {
  const Text a = WriteScratchFile("first.bin", "abc");
  const Text b = WriteScratchFile("second.bin", "abc");
  const Text c = WriteScratchFile("third.bin", "abd");
  for (const auto& [other, expected] : {std::pair{b, L"Same content"}, {c, L"Different content"}}) {
    CheckView start;
    start.Begin(CheckKind::TWO_FILES, a);
    const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.CompareFiles(a, other); });
    EXPECT_EQ(view.CurrentVerdict().text, expected);
  }
}

TEST(CreateRun, ATreeGivesARowAFileInTheWalksOrderAndTheLinesLeaveOutTheSumsFileItself) {
  Folder("create/sub dir");
  for (const char* name : {"create/a.txt", "create/#x", "create/-y", "create/caf\xc3\xa9.txt"}) {
    WriteScratchFile(name, "abc");
  }
  WriteScratchFile("create/sub dir/empty", "");
  WriteScratchFile("create/SHA256SUMS", "an older list\n");
  const Text folder = Folder("create") + FolderSeparator();
  CreateRequest request{{{Folder("create"), true}}, folder, FindAlgorithmByName(L"sha256")};
  CheckView start;
  start.Begin(CheckKind::CREATE, folder, {request.algorithm});
  const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.Create(request); });
  ASSERT_EQ(view.state, RunState::DONE);
  EXPECT_EQ(view.rows.size(), 6u);
  const CreatedSumsFile created = CreatedSumsFileLines(view.rows, L"SHA256SUMS");
  const std::string abc = SHA256_ABC;
  EXPECT_EQ(SumsFileBytes(created.lines), abc + "  #x\n" + abc + "  -y\n" + abc + "  a.txt\n" +
                                              abc + "  caf\xc3\xa9.txt\n" + SHA256_EMPTY +
                                              "  sub dir/empty\n");
  EXPECT_EQ(created.unreadable, 0u);
  EXPECT_EQ(view.CurrentVerdict().text, L"6 files read");
}

TEST(CheckRun, CancelKeepsTheRowsDoneAndLeavesTheOthersNotChecked) {
  Folder("cancel");
  const std::vector<uint8_t> bytes = RandomBytes(32 << 20, 3);
  std::string lines = Line(SHA256_ABC, "small.txt");
  WriteScratchFile("cancel/small.txt", "abc");
  for (int i = 0; i < 4; ++i) {
    const std::string name = "large" + std::to_string(i) + ".bin";
    WriteScratchFile("cancel/" + name, bytes);
    lines += Line(SHA256_ABC, name.c_str());
  }
  const Text sums = WriteScratchFile("cancel/SHA256SUMS", lines);
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView view = RunToEnd(start, [&](CheckRun& run) {
    run.CheckSumsFile(sums);
    // Past the sums file's reading, into the large files.
    for (RunProgress progress; progress.bytesDone <= 3 || progress.current == sums;) {
      progress = run.Progress();
    }
    run.Cancel();
  });
  EXPECT_EQ(view.state, RunState::CANCELLED);
  const RowCounts counts = view.rows.Counts();
  // A large file a worker read through before the cancel reached it is judged (FAILED: its digest
  // is not the one listed); how many depends on the machine's load.
  EXPECT_EQ(counts.ok, 1u);
  EXPECT_EQ(counts.missing + counts.unreadable, 0u);
  EXPECT_GE(counts.waiting, 1u);
  EXPECT_EQ(view.rows.back().status, RowStatus::NOT_CHECKED);
}

TEST(CheckRun, ABinaryFileTakenForASumsFileGetsOneSentenceAndNoRows) {
  // A PNG's first bytes, then a line that reads as SFV by chance.
  const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + "\nabc.txt 352441c2\n";
  const Text sums = WriteScratchFile("image.sha256", png);
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(sums); });
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.CurrentVerdict().text,
            L"image.sha256 is no sums file: it holds binary data, not lines of text.");
  // Without a sums file's name it is a file to check a digest for.
  EXPECT_FALSE(IsSumsFile(WriteScratchFile("image.png", png)));
}

TEST(CheckRun, AHugeSumsFileShowsItIsBeingReadAndCancelStopsTheReading) {
  Folder("huge");
  std::string lines;
  const std::string line = Line(SHA256_ABC, "listed-file.txt");
  lines.reserve((100u << 20) + line.size());
  while (lines.size() < (100u << 20)) lines += line;
  const Text sums = WriteScratchFile("huge/SHA256SUMS", lines);
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  RunProgress reading;
  const CheckView view = RunToEnd(start, [&](CheckRun& run) {
    run.CheckSumsFile(sums);
    while ((reading = run.Progress()).currentDone == 0) std::this_thread::yield();
    run.Cancel();
  });
  std::filesystem::remove(std::filesystem::path(sums));
  EXPECT_EQ(reading.current, sums);
  EXPECT_EQ(reading.currentSize, static_cast<int64_t>(lines.size()));
  EXPECT_EQ(reading.bytesTotal, lines.size());
  EXPECT_EQ(view.state, RunState::CANCELLED);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.CurrentVerdict().text, L"Cancelled while reading SHA256SUMS");
}

TEST(CheckRun, NamesBeyondAsciiInUtf8AndUtf16SumsFilesAreFoundAndShownAsWritten) {
  const Text name = L"r\u00e9sum\u00e9 \u2713 \u65e5\u672c.txt";
  Folder("names");
  WriteScratchFile("names/" + Utf8FromText(name), "abc");
  const Text line = TextFromUtf8(SHA256_ABC) + L"  " + name + L"\r\n";
  std::string utf16 = "\xff\xfe";
  for (wchar_t unit : line) utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  for (const auto& [file, bytes] : {std::pair{"names/utf8.sha256", Utf8FromText(line)},
                                    std::pair{"names/utf16.sha256", utf16}}) {
    const Text sums = WriteScratchFile(file, bytes);
    CheckView start;
    start.Begin(CheckKind::SUMS_FILE, sums);
    const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(sums); });
    ASSERT_EQ(view.rows.size(), 1u) << file;
    EXPECT_EQ(view.rows[0].name, name) << file;
    EXPECT_EQ(view.rows[0].status, RowStatus::OK) << file;
  }
}

TEST(CheckRun, AFileThatVanishesMidRunIsMissingWithAReasonAndTheRunGoesOn) {
  Folder("vanish");
  const std::vector<uint8_t> large = RandomBytes(8 << 20, 5);
  std::string lines;
  for (int i = 0; i < 6; ++i) {
    const std::string name = "large" + std::to_string(i) + ".bin";
    WriteScratchFile("vanish/" + name, large);
    lines += Line(SHA256_ABC, name.c_str()) + Line(SHA256_ABC, "gone.txt");
  }
  const Text gone = WriteScratchFile("vanish/gone.txt", "abc");
  const Text sums = WriteScratchFile("vanish/SHA256SUMS", lines);
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView view = RunToEnd(start, [&](CheckRun& run) {
    run.CheckSumsFile(sums);
    while (run.Progress().bytesDone == 0) std::this_thread::yield();
    // Windows refuses to delete a file a worker holds open at that moment: try again once it
    // has let go, as a user deleting it in Explorer would.
    std::error_code error;
    while (!std::filesystem::remove(std::filesystem::path(gone), error)) {
      ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(gone)));
      std::this_thread::yield();
    }
  });
  EXPECT_EQ(view.state, RunState::DONE);
  ASSERT_EQ(view.rows.size(), 12u);
  const RowCounts counts = view.rows.Counts();
  EXPECT_EQ(counts.failed, 6u);  // every large file, read through
  // Those read before it went are OK; those after, MISSING (how many depends on the workers).
  EXPECT_EQ(counts.ok + counts.missing, 6u);
  for (size_t i = 0; i < view.rows.size(); ++i) {
    EXPECT_TRUE(view.rows[i].status != RowStatus::MISSING || !view.rows[i].reason.empty());
  }
}

#ifndef _WIN32
TEST(CheckRun, AListedFifoOrDeviceIsUnreadableAtOnceAndNeverRead) {
  const std::filesystem::path fifo = std::filesystem::path(Folder("fifo")) / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteScratchFile("fifo/a.txt", "abc");
  // Nothing ever writes to the FIFO: a reader would wait for ever. The empty device would pass.
  const Text sums = WriteScratchFile(
      "fifo/SHA256SUMS",
      Line(SHA256_EMPTY, "fifo") + Line(SHA256_EMPTY, "/dev/null") + Line(SHA256_ABC, "a.txt"));
  CheckView start;
  start.Begin(CheckKind::SUMS_FILE, sums);
  const CheckView view = RunToEnd(start, [&](CheckRun& run) { run.CheckSumsFile(sums); });
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.CurrentVerdict().text, L"2 of 3 UNREADABLE");
  for (size_t i = 0; i < view.rows.size(); ++i) {
    const CheckRow row = view.rows[i];
    EXPECT_TRUE(row.status != RowStatus::UNREADABLE || row.reason == L"not a file") << i;
  }
}
#endif

TEST(CheckRun, APastedDigestOfAWrongLengthSaysWhatLengthsADigestHas) {
  Text digits = TextFromUtf8(SHA256_ABC);
  digits.pop_back();
  PastedDigest digest;
  Text problem;
  ASSERT_FALSE(ReadPastedDigest(digits, digest, problem));
  EXPECT_EQ(PastePromptVerdict(L"setup.exe", digits, problem).text,
            L"The pasted text is no digest: it needs 8, 16, 32, 40, 56, 64, 96 or 128 hexadecimal "
            L"digits, maybe after a name (sha256:).");
  const Text named = L"sha256:" + digits.substr(0, 40);
  ASSERT_FALSE(ReadPastedDigest(named, digest, problem));
  EXPECT_EQ(PastePromptVerdict(L"setup.exe", named, problem).text,
            L"The pasted text is no SHA-256 digest: it needs 64 hexadecimal digits.");
}

}  // namespace
