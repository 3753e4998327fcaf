// Entries naming one file in a row share one read, up to a limit: the read is for every entry's
// algorithms once, and each entry is judged in its own. MD5 and SHA-256 of "" are RFC 1321's and
// FIPS 180-2's.
#include "sums/entry_group.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t MD5_EMPTY[] = L"d41d8cd98f00b204e9800998ecf8427e";
constexpr wchar_t SHA256_EMPTY[] =
    L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

SumsEntry Listed(const Text& name, const Text& hex) {
  return ProperEntry(SumsLineForm::GNU, nullptr, hex, name);
}

TEST(EntryGroup, TakesOneFilesLinesUpToTheLimitAndJudgesEachInItsOwnAlgorithms) {
  const NamedAlgorithm* md5 = FindAlgorithmByName(L"md5");
  const NamedAlgorithm* sha256 = FindAlgorithmByName(L"sha256");
  EntryGroup group;
  group.Add(Listed(L"a", SHA256_EMPTY), {sha256});
  EXPECT_FALSE(group.Takes(Listed(L"b", MD5_EMPTY)));
  while (group.entries.size() < ENTRIES_READ_TOGETHER) {
    ASSERT_TRUE(group.Takes(Listed(L"a", MD5_EMPTY)));
    group.Add(Listed(L"a", MD5_EMPTY), {md5});
  }
  EXPECT_FALSE(group.Takes(Listed(L"a", MD5_EMPTY)));
  ASSERT_EQ(group.algorithms, (AlgorithmList{sha256, md5}));

  const std::vector<Text> digests = {Text(64, L'0'), MD5_EMPTY};
  EXPECT_EQ(group.Judge(0, {}, digests).status, EntryStatus::FAILED);
  EXPECT_EQ(group.Judge(1, {}, digests).status, EntryStatus::OK);
  const EntryVerdict gone = group.Judge(1, {true, true, L"gone"}, digests);
  EXPECT_EQ(gone.status, EntryStatus::MISSING);
  EXPECT_EQ(gone.algorithm, md5);
}

}  // namespace
