// The check core's decisions: the algorithms an entry may be in, a verdict from the digests, and
// MISSING told from UNREADABLE by a real failed opening. Digests are the FIPS 180-2 and FIPS 202
// examples for "abc" and RFC 1321's MD5 of "".
#include "sums/entry_check.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>

#include "digest/register_digest_plugins.h"
#include "sums/whole_sums_file.h"
#include "tests/support/temp_files.h"

namespace {

constexpr wchar_t MD5_EMPTY[] = L"d41d8cd98f00b204e9800998ecf8427e";
constexpr wchar_t SHA256_ABC[] =
    L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr wchar_t SHA3_256_ABC[] =
    L"3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532";

const NamedAlgorithm* Named(const wchar_t* name) {
  return FindAlgorithmByName(name);
}

SumsEntry Untagged(const Text& hex) {
  return ProperEntry(SumsLineForm::GNU, nullptr, hex, L"abc.txt");
}

// A hashdeep row of an MD5 and a SHA-256 digest.
SumsEntry HashdeepRow(const Text& md5, const Text& sha256) {
  SumsEntry entry = ProperEntry(SumsLineForm::HASHDEEP, Named(L"md5"), md5, L"abc.txt");
  entry.moreDigests.push_back({Named(L"sha256"), sha256});
  return entry;
}

FileFailure FailureReadingPath(const Text& path) {
  RegisterDigestPlugins();
  DigestRun run(1);
  DigestJob job(path, false, {{DIGEST_SHA2, 256}});
  run.Finish(job, nullptr);
  return FailureOf(job);
}

TEST(EntryCheck, TheSumsFilesNameNarrowsAnUntaggedDigestOnlyToAnAllowedAlgorithmOfItsLength) {
  const SumsEntry entry = Untagged(SHA256_ABC);
  const AlgorithmList ofItsLength = {Named(L"sha256"), Named(L"sha3-256"), Named(L"blake3")};
  EXPECT_EQ(EntryAlgorithms(entry, AllAlgorithms(), nullptr), ofItsLength);
  EXPECT_EQ(EntryAlgorithms(entry, AllAlgorithms(), Named(L"sha3-256")),
            AlgorithmList{Named(L"sha3-256")});
  EXPECT_EQ(EntryAlgorithms(entry, AllAlgorithms(), Named(L"md5")), ofItsLength);  // not of it
  EXPECT_EQ(EntryAlgorithms(entry, {Named(L"sha3-256")}, Named(L"sha256")),
            AlgorithmList{Named(L"sha3-256")});
  const SumsEntry tagged = ProperEntry(SumsLineForm::BSD, Named(L"sha256"), SHA256_ABC, L"abc");
  EXPECT_TRUE(EntryAlgorithms(tagged, {Named(L"sha3-256")}, nullptr).empty());
  EXPECT_TRUE(EntryAlgorithms(SumsEntry(), AllAlgorithms(), nullptr).empty());
}

TEST(EntryCheck, AnUntaggedDigestPassesInTheAlgorithmThatGaveItAndFailsInTheFirstExpected) {
  const AlgorithmList both = {Named(L"sha256"), Named(L"sha3-256")};
  const std::vector<Text> digests = {SHA256_ABC, SHA3_256_ABC};
  Text upper = SHA3_256_ABC;
  for (wchar_t& character : upper) character = static_cast<wchar_t>(std::towupper(character));
  const EntryVerdict ok = JudgeEntry(Untagged(upper), both, both, digests);
  EXPECT_EQ(ok.status, EntryStatus::OK);
  EXPECT_EQ(ok.algorithm, Named(L"sha3-256"));
  EXPECT_EQ(ok.expected, SHA3_256_ABC);
  EXPECT_EQ(ok.computed, SHA3_256_ABC);

  Text other = SHA256_ABC;
  other[0] = L'0';
  const EntryVerdict failed = JudgeEntry(Untagged(other), both, both, digests);
  EXPECT_EQ(failed.status, EntryStatus::FAILED);
  EXPECT_EQ(failed.algorithm, Named(L"sha256"));
  EXPECT_EQ(failed.expected, other);
  EXPECT_EQ(failed.computed, SHA256_ABC);
}

TEST(EntryCheck, AHashdeepRowPassesOnlyWhenEveryAllowedDigestMatches) {
  const AlgorithmList computed = {Named(L"md5"), Named(L"sha256")};
  const std::vector<Text> digests = {MD5_EMPTY, SHA256_ABC};
  Text wrongSha256 = SHA256_ABC;
  wrongSha256[1] = L'0';
  const SumsEntry row = HashdeepRow(MD5_EMPTY, wrongSha256);
  const AlgorithmList algorithms = EntryAlgorithms(row, AllAlgorithms(), nullptr);
  EXPECT_EQ(algorithms, computed);
  const EntryVerdict failed = JudgeEntry(row, algorithms, computed, digests);
  EXPECT_EQ(failed.status, EntryStatus::FAILED);
  EXPECT_EQ(failed.algorithm, Named(L"sha256"));
  EXPECT_EQ(failed.computed, SHA256_ABC);
  EXPECT_EQ(JudgeEntry(HashdeepRow(MD5_EMPTY, SHA256_ABC), algorithms, computed, digests).status,
            EntryStatus::OK);
  // With SHA-256 not allowed, the MD5 column alone decides.
  const AlgorithmList md5Only = EntryAlgorithms(row, {Named(L"md5")}, nullptr);
  EXPECT_EQ(md5Only, AlgorithmList{Named(L"md5")});
  EXPECT_EQ(JudgeEntry(row, md5Only, computed, digests).status, EntryStatus::OK);
}

TEST(EntryCheck, AFileOrFolderOnThePathThatIsNotThereIsMissingAndAFolderIsUnreadable) {
  const std::filesystem::path folder = ScratchFolder() / "entry-check";
  std::filesystem::create_directories(folder);
  const SumsEntry entry = Untagged(SHA256_ABC);
  const AlgorithmList sha256 = {Named(L"sha256")};
  for (const std::filesystem::path& path : {folder / "gone.iso", folder / "gone" / "setup.iso"}) {
    const EntryVerdict verdict =
        JudgeUnreadEntry(entry, sha256, FailureReadingPath(TextFromPath(path)));
    EXPECT_EQ(verdict.status, EntryStatus::MISSING) << path;
    EXPECT_FALSE(verdict.reason.empty());
  }
  const EntryVerdict verdict =
      JudgeUnreadEntry(entry, sha256, FailureReadingPath(TextFromPath(folder)));
  EXPECT_EQ(verdict.status, EntryStatus::UNREADABLE);
  EXPECT_EQ(verdict.reason, FolderReason());
  EXPECT_EQ(verdict.algorithm, Named(L"sha256"));
  EXPECT_EQ(verdict.expected, SHA256_ABC);
  EXPECT_FALSE(FailureReadingPath(WriteScratchFile("abc.txt", "abc")).failed);
}

// The entries a read hands on, kept.
WholeSumsFile ReadKeeping(const Text& path, std::vector<SumsEntry>& entries) {
  return ReadSumsFileEntries(path, [&](SumsEntry&& entry) { entries.push_back(std::move(entry)); });
}

TEST(WholeSumsFile, KeepsTheEntriesAndNumbersTheMalformedLines) {
  const Text path = WriteScratchFile("SHA256SUMS", Utf8FromText(Text(SHA256_ABC) + L"  abc.txt\n" +
                                                                L"no digest here\n# comment\n" +
                                                                SHA3_256_ABC + L"  abc.txt\n!\n"));
  std::vector<SumsEntry> entries;
  const WholeSumsFile whole = ReadKeeping(path, entries);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].lineNumber, 4u);
  EXPECT_EQ(whole.malformedLines, (std::vector<size_t>{2, 5}));
  EXPECT_TRUE(whole.failure.empty());
  EXPECT_FALSE(ReadKeeping(path + L".gone", entries).failure.empty());
}

TEST(WholeSumsFile, ADigestAloneNamesItsFileInTheSumsFilesFolder) {
  const Text path = WriteScratchFile("setup.iso.md5", Utf8FromText(Text(MD5_EMPTY) + L" *\n"));
  std::vector<SumsEntry> entries;
  ReadKeeping(path, entries);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, TextFromPath(ScratchFolder() / "setup.iso"));
  EXPECT_EQ(entries[0].algorithm, Named(L"md5"));
}

}  // namespace
