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
    case SumsLineForm::GPG:
      return L"gpg";
    case SumsLineForm::SEVEN_ZIP:
      return L"7-zip";
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

std::string Upper(std::string hex) {
  for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return hex;
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

// gpg --print-md and --print-mds as gpg 2.2 writes them for "abc", and the same cut short.
TEST(SumsLineReader, GpgDigestsInGroupsWrappedOrAfterANameAlone) {
  const std::string sha256 = "BA7816BF 8F01CFEA 414140DE 5DAE2223 B00361A3 96177A9C B410FF61";
  const std::string sha512 = "DDAF35A1 93617ABA CC417349 AE204131 12E6FA4E 89A97EA2 0A9EEEE6";
  const std::string sha512Rest = "4B55D39A 2192992A 274FC1A8 36BA3C23 A3FEEBBD 454D4423 643CE80E\n";
  const Text wholeSha512 =
      L"DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A2192992A274FC1A836BA3C23A3"
      L"FEEBBD454D4423643CE80E2A9AC94FA54CA49F";
  const std::pair<std::string, std::vector<Text>> cases[] = {
      {"abc.txt: " + sha256 + " F20015AD\n", {L"gpg 1 - " + Wide(Upper(SHA256_ABC)) + L"|abc.txt"}},
      {"abc.txt: " + sha512 + "\n         " + sha512Rest + "         2A9AC94F A54CA49F\n",
       {L"gpg 1 - " + wholeSha512 + L"|abc.txt"}},
      {"a: b.txt: 90 01 50 98 3C D2 4F B0  D6 96 3F 7D 28 E1 7F 72\n",
       {L"gpg 1 - 900150983CD24FB0D6963F7D28E17F72|a: b.txt"}},
      // A long name alone, its digest below, unindented or tagged; RMD160 is passed over.
      {"long name.txt: \n" + sha256 + "\n F20015AD\nlong name.txt: \n" +
           "  SHA1 = A999 3E36 4706 816A BA3E  2571 7850 C26C 9CD0 D89D\n" +
           "abc.txt: RMD160 = 8EB2 08F7 E05D 987A 9B04  4A8E 98C6 B087 F15A 0BFC\n" +
           "abc.txt: SHA512 = " + sha512 + "\n                  " + sha512Rest +
           "                  2A9AC94F A54CA49F\n",
       {L"gpg 1 - " + Wide(Upper(SHA256_ABC)) + L"|long name.txt",
        L"gpg 4 sha1 A9993E364706816ABA3E25717850C26C9CD0D89D|long name.txt",
        L"gpg 7 sha512 " + wholeSha512 + L"|abc.txt"}},
      // A truncated group; a wrapped digest whose last lines are lost; a name with no digest.
      {"abc.txt: " + sha256 + " F20015A\n", {L"malformed 1 - |"}},
      {"abc.txt: SHA512 = " + sha512 + "\n", {L"malformed 1 - |"}},
      {"abc.txt: \n" + std::string(MD5_EMPTY) + "  b.bin\n",
       {L"malformed 1 - |", L"gnu 2 - " + Wide(MD5_EMPTY) + L"|b.bin"}},
  };
  for (const auto& [file, expected] : cases) EXPECT_EQ(Entries(file), expected) << file;
}

// The table of 7-Zip's h command as its documentation shows it, a table of two digests with a
// folder's row and a name with spaces, and tables cut short.
TEST(SumsLineReader, SevenZipTablesByTheirDashes) {
  const auto row = [](const std::string& crc, const std::string& sha, const std::string& size,
                      const std::string& name) {
    return crc + std::string(8 - crc.size(), ' ') + " " + sha + std::string(64 - sha.size(), ' ') +
           " " + std::string(13 - size.size(), ' ') + size + "  " + name + "\n";
  };
  const std::string twoDigests =
      row("CRC32", "SHA256", "Size", "Name") +
      row("--------", std::string(64, '-'), std::string(13, '-'), "------------");
  const std::string crcOnly =
      "CRC32             Size  Name\n-------- -------------  ------------\n";
  const std::pair<std::string, std::vector<Text>> cases[] = {
      {crcOnly + "CDF68C0E         40158  History.txt\nFDDB6E75          1927  License.txt\n" +
           "-------- -------------  ------------\n4AA74FB3         42085\n\nFiles: 2\n" +
           "Size: 42085\n\nCRC32  for data:              4AA74FB3\n" +
           "CRC32  for data and names:    2F50438F\n",
       {L"7-zip 3 crc32 CDF68C0E|History.txt", L"7-zip 4 crc32 FDDB6E75|License.txt"}},
      {twoDigests + row("", "", "", "folder") + row("352441C2", SHA256_ABC, "3", "folder/a b.txt"),
       {L"7-zip 4 crc32 352441C2|folder/a b.txt +sha256 " + Wide(SHA256_ABC)}},
      {crcOnly + "CDF68C0E         401\n", {L"malformed 3 - |"}},
      {twoDigests + row("352441C2", std::string(SHA256_ABC).substr(1), "3", "a.txt"),
       {L"malformed 3 - |"}},
      {"SHA256  Size  Name\n" + std::string(MD5_EMPTY) + "  b.bin\n",
       {L"malformed 1 - |", L"gnu 2 - " + Wide(MD5_EMPTY) + L"|b.bin"}},
  };
  for (const auto& [file, expected] : cases) EXPECT_EQ(Entries(file), expected) << file;
}

}  // namespace
