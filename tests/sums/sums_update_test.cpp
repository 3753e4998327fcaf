// The files a sums file leaves unlisted, and the lines an update adds for them: in each form the
// file was written in, after every byte already there. Digests are of "abc" and of the empty
// file (RFC 1321, FIPS 180-2, the CRC-32 of "abc").
#include "sums/sums_update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "digest/register_digest_plugins.h"
#include "sums/sums_line_reader.h"
#include "sums/unlisted_files.h"
#include "tests/support/temp_files.h"

namespace {

namespace fs = std::filesystem;

const std::string ABC_256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string EMPTY_256 = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const std::string ABC_MD5 = "900150983cd24fb0d6963f7d28e17f72";
const std::string EMPTY_MD5 = "d41d8cd98f00b204e9800998ecf8427e";

std::string Upper(std::string hex) {
  for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return hex;
}

std::string Utf16LittleEndian(const std::string& ascii) {
  std::string units;
  for (char c : ascii) units += std::string{c, '\0'};
  return units;
}

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// A folder of its own holding `files` (name, bytes); '/' between folders.
fs::path Tree(const std::string& folder,
              const std::vector<std::pair<std::string, std::string>>& files) {
  const fs::path root = ScratchFolder() / folder;
  for (const auto& [name, bytes] : files) {
    fs::create_directories((root / name).parent_path());
    std::ofstream(root / name, std::ios::binary) << bytes;
  }
  return root;
}

SumsUpdate AddUnlisted(const fs::path& sumsFile) {
  RegisterDigestPlugins();
  const Text path = TextFromPath(sumsFile);
  const UnlistedFiles unlisted = FindUnlistedFiles(path, ProperSumsFileEntries(Read(sumsFile)));
  return AddFilesToSumsFile(path, unlisted.names);
}

TEST(SumsUpdate, LinesTakeTheFilesFormAfterEveryByteThere) {
  const struct {
    const char* sumsName;
    std::string before, added;
  } cases[] = {
      {"SHA256SUMS", ABC_256 + "  a.txt\n" + ABC_256 + "  sub/old.txt\n",
       EMPTY_256 + "  new.txt\n" + EMPTY_256 + "  sub/new.txt\n"},
      // No line end after the last line: one comes first.
      {"SHA256SUMS", ABC_256 + " *a.txt\n" + ABC_256 + " *sub/old.txt",
       "\n" + EMPTY_256 + " *new.txt\n" + EMPTY_256 + " *sub/new.txt\n"},
      {"MD5SUMS", "\xEF\xBB\xBF" + ABC_MD5 + "\ta.txt\n" + ABC_MD5 + "\tsub/old.txt\n",
       EMPTY_MD5 + "\tnew.txt\n" + EMPTY_MD5 + "\tsub/new.txt\n"},
      // bsd lines of two algorithms, as OpenSSL writes them: both for each file.
      {"CHECKSUMS",
       "SHA2-256(a.txt)= " + ABC_256 + "\r\nMD5(a.txt)= " + ABC_MD5 +
           "\r\nSHA2-256(sub/old.txt)= " + ABC_256 + "\r\n",
       "SHA2-256(new.txt)= " + EMPTY_256 + "\r\nMD5(new.txt)= " + EMPTY_MD5 +
           "\r\nSHA2-256(sub/new.txt)= " + EMPTY_256 + "\r\nMD5(sub/new.txt)= " + EMPTY_MD5 +
           "\r\n"},
      {"files.sfv", "; made by hand\na.txt   352441C2\nsub/old.txt   352441C2\n",
       "new.txt   00000000\nsub/new.txt   00000000\n"},
      // Written on Windows: UTF-16 with its mark, CRLF, '\' between folders, upper case; the
      // name says no algorithm, and a listed file tells SHA-256 from SHA3-256.
      {"hashes.txt",
       "\xFF\xFE" + Utf16LittleEndian(Upper(ABC_256) + " *a.txt\r\n" + Upper(ABC_256) +
                                      " *sub\\old.txt\r\n"),
       Utf16LittleEndian(Upper(EMPTY_256) + " *new.txt\r\n" + Upper(EMPTY_256) +
                         " *sub\\new.txt\r\n")},
  };
  int folder = 0;
  for (const auto& [sumsName, before, added] : cases) {
    SCOPED_TRACE(sumsName);
    const fs::path root = Tree("update-" + std::to_string(folder++), {{sumsName, before},
                                                                      {"a.txt", "abc"},
                                                                      {"new.txt", ""},
                                                                      {"sub/old.txt", "abc"},
                                                                      {"sub/new.txt", ""}});
    const SumsUpdate update = AddUnlisted(root / sumsName);
    EXPECT_EQ(update.failure, L"");
    EXPECT_EQ(update.added, (std::vector<Text>{L"new.txt", L"sub/new.txt"}));
    EXPECT_EQ(Read(root / sumsName), before + added);
  }
}

TEST(SumsUpdate, AFileOfAnotherFormOrOfNoKnownAlgorithmIsLeftAsItWas) {
  const struct {
    const char* sumsName;
    std::string before;
    const wchar_t* failureStart;
  } cases[] = {
      {"a.sha256", "SHA256 hash of a.txt:\n" + ABC_256 + "\nCertUtil: done.\n", L"lines are"},
      // SHA-256 or SHA3-256, and the listed file is gone.
      {"hashes.txt", ABC_256 + "  gone.txt\n", L"its digests may be SHA-256 or SHA3-256"},
  };
  for (const auto& [sumsName, before, failureStart] : cases) {
    const fs::path root = Tree(std::string("refused-") + sumsName,
                               {{sumsName, before}, {"a.txt", "abc"}, {"new.txt", ""}});
    const SumsUpdate update = AddUnlisted(root / sumsName);
    EXPECT_EQ(update.failure.rfind(failureStart, 0), 0u) << Utf8FromText(update.failure);
    EXPECT_EQ(Read(root / sumsName), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 3);
  }
}

TEST(SumsUpdate, AStopLeavesTheFileAsItWas) {
  const fs::path root = Tree("stopped", {{"SHA256SUMS", ABC_256 + "  a.txt\n"},
                                         {"a.txt", "abc"},
                                         {"new.txt", std::string(1 << 20, 'x')}});
  RegisterDigestPlugins();
  const SumsUpdate update = AddFilesToSumsFile(TextFromPath(root / "SHA256SUMS"), {L"new.txt"},
                                               [](const Text&, uint64_t) { return false; });
  EXPECT_TRUE(update.stopped);
  EXPECT_TRUE(update.added.empty());
  EXPECT_EQ(Read(root / "SHA256SUMS"), ABC_256 + "  a.txt\n");
}

TEST(UnlistedFiles, TheSumsFileAndItsKinAreLeftOutAndTheSearchGoesAsDeepAsTheNames) {
  const fs::path root = Tree("unlisted", {{"CHECKSUMS", ""},
                                          {"CHECKSUMS.asc", ""},
                                          {"CHECKSUMS.sig", ""},
                                          {"MD5SUMS", ""},
                                          {"setup.iso.sha1", ""},
                                          {"old.sfv", ""},
                                          {"a.txt", ""},
                                          {".hidden", ""},
                                          {"sub/c.txt", ""},
                                          {"sub/d.txt", ""},
                                          {"sub/deep/e.txt", ""}});
  const struct {
    std::string sums;
    std::vector<Text> unlisted;
  } cases[] = {
      {EMPTY_256 + "  a.txt\n", {L".hidden"}},
      {EMPTY_256 + "  ./a.txt\n" + EMPTY_256 + "  sub/c.txt\n", {L".hidden", L"sub/d.txt"}},
      // Written on Windows: '\' between folders.
      {EMPTY_256 + "  sub\\c.txt\n", {L".hidden", L"a.txt", L"sub/d.txt"}},
      {EMPTY_256 + "  sub/deep/e.txt\n", {L".hidden", L"a.txt", L"sub/c.txt", L"sub/d.txt"}},
  };
  for (const auto& [sums, unlisted] : cases) {
    const UnlistedFiles found =
        FindUnlistedFiles(TextFromPath(root / "CHECKSUMS"), ProperSumsFileEntries(sums));
    EXPECT_EQ(found.names, unlisted) << sums;
  }
}

}  // namespace
