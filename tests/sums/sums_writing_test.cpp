// Making sums files: the lines written, where the file goes and what it proposes, the walk's order
// and what it passes over, and the replace that leaves the old file whole when it fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sums/algorithm_by_file_name.h"
#include "sums/folder_separator.h"
#include "sums/folder_walk.h"
#include "sums/replace_file.h"
#include "sums/sums_file_plan.h"
#include "sums/sums_line_writer.h"
#include "tests/support/temp_files.h"

namespace {

namespace fs = std::filesystem;

const Text HEX = L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

TEST(SumsLineWriter, NamesAreWrittenAsEveryCheckerReadsThem) {
  const std::pair<const wchar_t*, Text> cases[] = {
      {L"plain.txt", HEX + L"  plain.txt"},
      {L"a b/c d.txt", HEX + L"  a b/c d.txt"},
      {L"-dash", HEX + L"  -dash"},
      {L"#hash", HEX + L"  #hash"},
      {L"caf\u00e9/\u65e5\u672c.bin", HEX + L"  caf\u00e9/\u65e5\u672c.bin"},
      {L"new\nline", L"\\" + HEX + L"  new\\nline"},
#ifdef _WIN32
      {L"sub\\file.bin", HEX + L"  sub/file.bin"},
      {L"C:\\abs\\file.bin", HEX + L"  C:\\abs\\file.bin"},
#else
      {L"back\\slash", L"\\" + HEX + L"  back\\\\slash"},
#endif
  };
  for (const auto& [name, line] : cases) {
    EXPECT_EQ(GnuSumsLine(HEX, SumsLineName(name)), line) << name;
  }
}

TEST(SumsLineWriter, BytesAreUtf8WithLfAndNoByteOrderMark) {
  EXPECT_EQ(SumsFileBytes({L"a  caf\u00e9", L"b  x"}), "a  caf\xc3\xa9\nb  x\n");
  EXPECT_EQ(SumsFileBytes({}), "");
}

#ifdef _WIN32
#define SEP L"\\"
#define ROOT L"C:\\t\\"
#else
#define SEP L"/"
#define ROOT L"/t/"
#endif

TEST(SumsFilePlan, ProposesWhereAndWhatToCall) {
  const NamedAlgorithm& sha256 = *FindAlgorithmByName(L"sha256");
  const std::tuple<std::vector<SumsFileItem>, Text, Text> plans[] = {
      {{{ROOT L"photos", true}}, ROOT L"photos" SEP, L"SHA256SUMS"},
      {{{ROOT L"photos" SEP, true}}, ROOT L"photos" SEP, L"SHA256SUMS"},
      {{{ROOT L"setup.tar.gz", false}}, ROOT, L"setup.tar.gz.sha256"},
      {{{ROOT L"a", true}, {ROOT L"b.txt", false}}, ROOT, L"SHA256SUMS"},
      {{{ROOT L"x" SEP L"a", true}, {ROOT L"y" SEP L"b", false}}, ROOT, L"SHA256SUMS"},
      {{{ROOT L"ab" SEP L"a", true}, {ROOT L"ac" SEP L"b", false}}, ROOT, L"SHA256SUMS"},
  };
  for (const auto& [items, folder, fileName] : plans) {
    const SumsFilePlan plan = PlanSumsFile(items, sha256);
    EXPECT_EQ(plan.folder, folder) << items[0].path;
    EXPECT_EQ(plan.fileName, fileName) << items[0].path;
  }
  EXPECT_EQ(NameBelowFolder(ROOT, ROOT L"a" SEP L"b"), L"a" SEP L"b");
  EXPECT_EQ(NameBelowFolder(ROOT L"x" SEP, ROOT L"xy"), ROOT L"xy");
}

TEST(SumsFilePlan, EveryAlgorithmsProposedNameReadsBackAsIt) {
  for (const bool oneFile : {false, true}) {
    const std::vector<SumsFileItem> items = {{ROOT L"setup.iso", !oneFile}};
    const SumsFilePlan plan = PlanSumsFile(items, *FindAlgorithmByName(L"sha256"));
    for (const NamedAlgorithm* algorithm : AllAlgorithms()) {
      const Text renamed = NameForChosenAlgorithm(plan.folder + plan.fileName, plan, *algorithm);
      EXPECT_EQ(AlgorithmNamedBySumsFile(renamed), algorithm) << renamed;
    }
    // A name the user typed is the user's.
    EXPECT_EQ(NameForChosenAlgorithm(plan.folder + L"mine.txt", plan, *AllAlgorithms()[0]),
              plan.folder + L"mine.txt");
  }
}

// A tree with what a walk must order, enter and pass over.
fs::path MakeTree() {
  const fs::path root = ScratchFolder() / "walk";
  for (const char* folder : {"b", "b/c", "a-z", "a", "link-target"}) {
    fs::create_directories(root / folder);
  }
  for (const char* file : {"b/c/2", "b/1", "a-z/x", "a/y", "a.txt", "C", "link-target/t"}) {
    std::ofstream(root / file) << file;
  }
#ifndef _WIN32  // Wine makes no links, and Windows only with a privilege
  fs::create_directory_symlink(root / "link-target", root / "b" / "folder-link");
  fs::create_symlink(root / "a.txt", root / "file-link");
#endif
  return root;
}

TEST(FolderWalk, GivesFilesInThePathsByteOrderAndFollowsNoLink) {
  const fs::path root = MakeTree();
  FolderWalk walk(TextFromPath(root));
  std::vector<Text> names;
  for (WalkedFile file; walk.Next(file);) {
    EXPECT_TRUE(file.problem.empty()) << file.path;
    names.push_back(
        PortableName(NameBelowFolder(TextFromPath(root) + FolderSeparator(), file.path)));
  }
  // "a-z/" sorts before "a.txt" before "a/": '-' < '.' < '/'.
  const std::vector<Text> expected = {L"C",   L"a-z/x", L"a.txt",        L"a/y",
                                      L"b/1", L"b/c/2", L"link-target/t"};
  EXPECT_EQ(names, expected);
#ifndef _WIN32
  EXPECT_EQ(walk.LinksPassedOver(), 2u);
#endif
}

TEST(FolderWalk, AFolderThatCannotBeListedIsSaidOnce) {
  FolderWalk walk(TextFromPath(ScratchFolder() / "no-such-folder"));
  WalkedFile file;
  ASSERT_TRUE(walk.Next(file));
  EXPECT_FALSE(file.problem.empty());
  EXPECT_FALSE(walk.Next(file));
}

std::string Contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(ReplaceFile, ReplacesWholeOrLeavesTheOldFileAndNoTemporary) {
  const fs::path folder = ScratchFolder() / "replace";
  fs::create_directories(folder / "SHA256SUMS.d");
  const Text target = TextFromPath(folder / "SHA256SUMS");
  Text reason;
  ASSERT_TRUE(ReplaceFileBytes(target, "old\n", reason)) << reason;
  ASSERT_TRUE(ReplaceFileBytes(target, "new\n", reason)) << reason;
  EXPECT_EQ(Contents(folder / "SHA256SUMS"), "new\n");
  // A name the new file cannot take (a folder) and a folder that is not there: refused, told why.
  for (const fs::path& refused : {folder / "SHA256SUMS.d", folder / "gone" / "SHA256SUMS"}) {
    reason.clear();
    EXPECT_FALSE(ReplaceFileBytes(TextFromPath(refused), "new\n", reason));
    EXPECT_FALSE(reason.empty());
  }
  EXPECT_TRUE(fs::is_directory(folder / "SHA256SUMS.d"));
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 2u);  // SHA256SUMS and the folder: no temporary file left
}

}  // namespace
