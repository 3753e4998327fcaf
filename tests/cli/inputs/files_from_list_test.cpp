// The names of a --files-from list must not depend on where its bytes were cut on the way in:
// every case is fed whole, split at each byte in turn, and a byte at a time.
#include "cli/inputs/files_from_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<Text> NamesOf(const std::vector<std::string>& pieces) {
  FilesFromListReader reader;
  std::vector<Text> names;
  Text name;
  for (const std::string& piece : pieces) {
    reader.Feed(piece.data(), piece.size());
    while (reader.Next(name)) names.push_back(name);
  }
  reader.End();
  while (reader.Next(name)) names.push_back(name);
  return names;
}

void ExpectNamesWherePiecesAreCut(const std::string& bytes, const std::vector<Text>& expected) {
  EXPECT_EQ(NamesOf({bytes}), expected);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    ASSERT_EQ(NamesOf({bytes.substr(0, cut), bytes.substr(cut)}), expected) << "cut at " << cut;
  }
  std::vector<std::string> bytesOneByOne;
  for (char byte : bytes) bytesOneByOne.emplace_back(1, byte);
  EXPECT_EQ(NamesOf(bytesOneByOne), expected);
}

TEST(FilesFromList, LinesEndedByLfCrLfOrZeroWithEmptyOnesPassedOver) {
  ExpectNamesWherePiecesAreCut("a.txt\r\nb c.txt\n\nd.txt", {L"a.txt", L"b c.txt", L"d.txt"});
  ExpectNamesWherePiecesAreCut(std::string("x\0y\0\0z\r\n", 9), {L"x", L"y", L"z"});
}

TEST(FilesFromList, Utf8AfterItsMarkAndNameBytesThatAreNotUtf8) {
  ExpectNamesWherePiecesAreCut(
      "\xEF\xBB\xBF\xC3\xA9\ncaf\xE9\n\xEF\xBB",
      {L"\u00E9", TextFromNameBytes("caf\xE9"), TextFromNameBytes("\xEF\xBB")});
}

TEST(FilesFromList, Utf16AsPowerShellWritesItKeepsALoneSurrogate) {
  const std::string little(
      "\xFF\xFE"
      "n\0"
      "1\0\r\0\n\0"
      "n\0\x00\xDC\r\0\n\0",
      18);
  ExpectNamesWherePiecesAreCut(little, {L"n1", Text(L"n") + static_cast<wchar_t>(0xDC00)});
  const std::string big(
      "\xFE\xFF"
      "\xD8\x3D\xDE\x00"
      "\x00\x00"
      "\x00q",
      10);
  ExpectNamesWherePiecesAreCut(big, {TextFromUtf8("\xF0\x9F\x98\x80"), L"q"});
}

}  // namespace
