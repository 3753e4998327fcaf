// The entries the sums-line reader finds in each form the usual tools write, with the line each
// starts on; digests are the RFC 1321 and FIPS 180-2 examples (MD5 of "", SHA-256 of "" and of
// "abc") and the CRC-32 check value of "123456789".
#include "sums/sums_line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char MD5_EMPTY[] = "d41d8cd98f00b204e9800998ecf8427e";
constexpr char SHA256_EMPTY[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
constexpr char SHA256_ABC[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

const wchar_t* FormName(SumsLineForm form) {
  switch (form) {
    case SumsLineForm::MALFORMED:
      return L"malformed";
    case SumsLineForm::GNU:
      return L"gnu";
    case SumsLineForm::ONE_SEPARATOR:
      return L"one-separator";
    case SumsLineForm::BSD:
      return L"bsd";
    case SumsLineForm::SFV:
      return L"sfv";
    case SumsLineForm::CERTUTIL:
      return L"certutil";
    case SumsLineForm::POWERSHELL:
      return L"powershell";
    case SumsLineForm::HASHDEEP:
      return L"hashdeep";
    case SumsLineForm::DIGEST_ONLY:
      return L"digest-only";
  }
  return L"?";
}

// "form line algorithm hex|name", '-' for an algorithm the entry leaves to the digest's length,
// then " +algorithm hex" for each further digest of a hashdeep row.
std::vector<Text> Entries(const std::string& file) {
  std::vector<Text> described;
  for (const SumsEntry& entry : SumsFileEntries(file)) {
    Text line = Text(FormName(entry.form)) + L" " + std::to_wstring(entry.lineNumber) + L" " +
                (entry.algorithm ? entry.algorithm->name : L"-") + L" " + entry.hex + L"|" +
                entry.name;
    for (const WrittenDigest& more : entry.moreDigests) {
      line += L" +" + Text(more.algorithm->name) + L" " + more.hex;
    }
    described.push_back(line);
  }
  return described;
}

Text Wide(const std::string& ascii) {
  return TextFromUtf8(ascii);
}

TEST(SumsLineReader, GnuLinesWithBothModesAnEscapedNameAndAComment) {
  const std::string file = std::string("# made by hand\n") + MD5_EMPTY + "  empty.bin\n" +
                           "D41D8CD98F00B204E9800998ECF8427E *star.bin\n" + "\\" + MD5_EMPTY +
                           "  a\\nb\\\\c\n" + "not a checksum line\n";
  const std::vector<Text> expected = {
      L"gnu 2 - " + Wide(MD5_EMPTY) + L"|empty.bin",
      L"gnu 3 - D41D8CD98F00B204E9800998ECF8427E|star.bin",
      L"gnu 4 - " + Wide(MD5_EMPTY) + L"|a\nb\\c",
      L"malformed 5 - |",
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, TheFirstUntaggedLineSettlesTheOneSeparatorForm) {
  const std::string file =
      std::string(MD5_EMPTY) + "\tfirst\n" + MD5_EMPTY + " *second\n" + MD5_EMPTY + "  third\n";
  const std::vector<Text> expected = {
      L"one-separator 1 - " + Wide(MD5_EMPTY) + L"|first",
      L"one-separator 2 - " + Wide(MD5_EMPTY) + L"|*second",
      L"one-separator 3 - " + Wide(MD5_EMPTY) + L"| third",
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, TaggedLinesAsBsdToolsAndOpenSslWriteThem) {
  const std::string file = std::string("SHA256 (x (1).txt) = ") + SHA256_ABC + "\n" +
                           "SHA2-256(y)= " + SHA256_ABC + "\n" + "MD5 (z) = " + SHA256_ABC + "\n" +
                           "\\MD5 (back\\\\slash) = " + MD5_EMPTY + "\n";
  const std::vector<Text> expected = {
      L"bsd 1 sha256 " + Wide(SHA256_ABC) + L"|x (1).txt",
      L"bsd 2 sha256 " + Wide(SHA256_ABC) + L"|y",
      L"malformed 3 - |",
      L"bsd 4 md5 " + Wide(MD5_EMPTY) + L"|back\\slash",
  };
  EXPECT_EQ(Entries(file), expected);
}

// As xxhsum and b3sum write them: XXH3 in the GNU form with its prefix, and the tagged lines of
// the three, each tag held to its digest's length.
TEST(SumsLineReader, XxhsumsPrefixedXxh3LinesAndTheTagsBeyondTheWindowsEleven) {
  const std::string file = std::string("XXH3_78af5f94892f3950  abc.txt\n") +
                           "XXH3_78af5f94892f395  short.txt\n" +
                           "XXH128 (abc.txt) = 06b05ab6733a618578af5f94892f3950\n" +
                           "XXH3 (abc.txt) = 06b05ab6733a618578af5f94892f3950\n" +
                           "BLAKE3 (abc.txt) = " + SHA256_ABC + "\n";
  const std::vector<Text> expected = {
      L"gnu 1 xxh3 78af5f94892f3950|abc.txt",
      L"malformed 2 - |",
      L"bsd 3 xxh128 06b05ab6733a618578af5f94892f3950|abc.txt",
      L"malformed 4 - |",
      L"bsd 5 blake3 " + Wide(SHA256_ABC) + L"|abc.txt",
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, SfvLinesAfterAComment) {
  const std::vector<Text> expected = {L"sfv 2 crc32 CBF43926|file one.txt"};
  EXPECT_EQ(Entries("; made by an SFV tool\nfile one.txt   CBF43926\n"), expected);
}

TEST(SumsLineReader, CertutilsHeaderThenItsSpacedDigest) {
  const std::string file =
      "SHA256 hash of C:\\dl\\setup.exe:\n"
      "ba 78 16 bf 8f 01 cf ea 41 41 40 de 5d ae 22 23 b0 03 61 a3 96 17 7a 9c b4 10 ff 61 f2 00 "
      "15 ad\n"
      "CertUtil: -hashfile command completed successfully.\n"
      "MD5 hash of cut.bin:\n";
  const std::vector<Text> expected = {
      L"certutil 1 sha256 " + Wide(SHA256_ABC) + L"|C:\\dl\\setup.exe",
      L"malformed 4 - |",  // the file ends before the digest
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, PowerShellListWithAWrappedPath) {
  const std::string file =
      "\n"
      "Algorithm : SHA256\n"
      "Hash      : BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD\n"
      "Path      : C:\\a\\long\\path\\that\n"
      "            \\wraps.txt\n"
      "\n"
      "Algorithm : MD5\n"
      "Hash      : D41D8CD98F00B204E9800998ECF8427E\n"
      "Path      : C:\\empty.bin\n";
  const std::vector<Text> expected = {
      L"powershell 2 sha256 BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD|"
      L"C:\\a\\long\\path\\that\\wraps.txt",
      L"powershell 7 md5 D41D8CD98F00B204E9800998ECF8427E|C:\\empty.bin",
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, PowerShellCsvByItsHeaderColumns) {
  const std::string file =
      "#TYPE Microsoft.PowerShell.Commands.FileHashInfo\n"
      "\"Path\",\"Algorithm\",\"Hash\"\n"
      "\"C:\\a \"\"quoted\"\".txt\",\"MD5\",\"D41D8CD98F00B204E9800998ECF8427E\"\n"
      "\"C:\\short.txt\",\"MD5\"\n";
  const std::vector<Text> expected = {
      L"powershell 3 md5 D41D8CD98F00B204E9800998ECF8427E|C:\\a \"quoted\".txt",
      L"malformed 4 - |",
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, HashdeepRowsByTheirColumnLine) {
  const std::string file = std::string("%%%% HASHDEEP-1.0\n") +
                           "%%%% size,md5,tiger,sha256,filename\n" + "## Invoked from: /home\n" +
                           "0," + MD5_EMPTY + ",00," + SHA256_EMPTY + ",/home/a, b.txt\n" + "x," +
                           MD5_EMPTY + ",00," + SHA256_EMPTY + ",/home/c\n";
  const std::vector<Text> expected = {
      L"hashdeep 4 md5 " + Wide(MD5_EMPTY) + L"|/home/a, b.txt +sha256 " + Wide(SHA256_EMPTY),
      L"malformed 5 - |",  // a size that is no number
  };
  EXPECT_EQ(Entries(file), expected);
}

// The order in which the reader offers a line to the recognisers.
TEST(SumsLineReader, AnOpenEntryEndsBeforeALineOfAnotherFormWhichIsThenReadOnItsOwn) {
  const std::string file = std::string("SHA256 hash of a.bin:\n") + MD5_EMPTY + "  b.bin\n" +
                           "Algorithm : MD5\nHash      : " + MD5_EMPTY + "\nPath      : c.bin\n" +
                           "MD5 (d.bin) = " + MD5_EMPTY + "\n";
  const std::vector<Text> expected = {
      L"malformed 1 - |",
      L"gnu 2 - " + Wide(MD5_EMPTY) + L"|b.bin",
      L"powershell 3 md5 " + Wide(MD5_EMPTY) + L"|c.bin",
      L"bsd 6 md5 " + Wide(MD5_EMPTY) + L"|d.bin",
  };
  EXPECT_EQ(Entries(file), expected);
}

TEST(SumsLineReader, AFileSettledAsSfvTakesNoGnuLineAndAGnuFileNoSfvLine) {
  const std::vector<Text> sfvFirst = {L"sfv 1 crc32 CBF43926|a.txt", L"malformed 2 - |"};
  EXPECT_EQ(Entries(std::string("a.txt CBF43926\n") + MD5_EMPTY + "  b.bin\n"), sfvFirst);
  const std::vector<Text> gnuFirst = {L"gnu 1 - " + Wide(MD5_EMPTY) + L"|b.bin",
                                      L"malformed 2 - |"};
  EXPECT_EQ(Entries(std::string(MD5_EMPTY) + "  b.bin\na.txt CBF43926\n"), gnuFirst);
}

TEST(SumsLineReader, AfterAnExportCsvHeaderALineWithCommasIsARecord) {
  const std::string file = std::string("\"Path\",\"Algorithm\",\"Hash\"\n") +
                           "MD5 (a,b) = " + MD5_EMPTY + "\n" + "MD5 (c) = " + MD5_EMPTY + "\n";
  const std::vector<Text> expected = {L"malformed 2 - |", L"bsd 3 md5 " + Wide(MD5_EMPTY) + L"|c"};
  EXPECT_EQ(Entries(file), expected);
}

}  // namespace
