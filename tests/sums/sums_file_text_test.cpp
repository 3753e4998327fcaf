// The lines of a sums file, whatever its encoding, must not depend on where its bytes were cut on
// the way in: every case is fed whole, split at each byte in turn, and a byte at a time.
#include "sums/sums_file_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Line {
  Text text;
  bool tooLong;
  bool operator==(const Line&) const = default;
};

void PrintTo(const Line& line, std::ostream* out) {
  *out << '"' << Utf8FromText(line.text) << '"' << (line.tooLong ? " (too long)" : "");
}

std::vector<Line> Plain(const std::vector<SumsFileLine>& lines) {
  std::vector<Line> plain;
  for (const SumsFileLine& line : lines) plain.push_back({line.text, line.tooLong});
  return plain;
}

std::vector<Line> SplitAt(const std::string& bytes, size_t cut) {
  std::vector<SumsFileLine> lines;
  SumsFileText text;
  text.Take(bytes.data(), cut, lines);
  text.Take(bytes.data() + cut, bytes.size() - cut, lines);
  text.Finish(lines);
  return Plain(lines);
}

std::vector<Line> ByteByByte(const std::string& bytes) {
  std::vector<SumsFileLine> lines;
  SumsFileText text;
  for (char byte : bytes) text.Take(&byte, 1, lines);
  text.Finish(lines);
  return Plain(lines);
}

void ExpectLinesWherePiecesAreCut(const std::string& bytes, const std::vector<Line>& expected) {
  EXPECT_EQ(Plain(SumsFileLines(bytes)), expected);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    ASSERT_EQ(SplitAt(bytes, cut), expected) << "cut at byte " << cut;
  }
  EXPECT_EQ(ByteByByte(bytes), expected);
}

Text WithUnit(const Text& text, char16_t unit) {
  return text + static_cast<wchar_t>(unit);
}

TEST(SumsFileText, Utf8WithAMarkCrLfAnEmptyLineAndNoLastLineEnd) {
  ExpectLinesWherePiecesAreCut("\xEF\xBB\xBFone\r\ntwo\n\nthree",
                               {{L"one", false}, {L"two", false}, {L"", false}, {L"three", false}});
}

TEST(SumsFileText, BytesThatAreNotUtf8AreKept) {
  ExpectLinesWherePiecesAreCut("caf\xE9  x\n\xEF\xBB\n", {{TextFromNameBytes("caf\xE9  x"), false},
                                                          {TextFromNameBytes("\xEF\xBB"), false}});
}

TEST(SumsFileText, Utf16LittleEndianKeepsALoneSurrogate) {
  const std::string bytes(
      "\xFF\xFE"
      "a\0\r\0\n\0"
      "b\0\x00\xD8",
      12);
  ExpectLinesWherePiecesAreCut(bytes, {{L"a", false}, {WithUnit(L"b", 0xD800), false}});
}

TEST(SumsFileText, Utf16BigEndianJoinsASurrogatePair) {
  const std::string bytes(
      "\xFE\xFF"
      "\x00\xE9"
      "\xD8\x3D\xDE\x00"
      "\x00\n"
      "\x00z\x00",
      13);
  // The half unit at the end is lost.
  ExpectLinesWherePiecesAreCut(bytes,
                               {{TextFromUtf8("\xC3\xA9\xF0\x9F\x98\x80"), false}, {L"z", false}});
}

TEST(SumsFileText, ALineOverTheLimitIsPassedOver) {
  const std::string bytes = std::string(SUMS_LINE_LIMIT + 1, 'a') + "\nb";
  const std::vector<Line> expected = {{L"", true}, {L"b", false}};
  EXPECT_EQ(Plain(SumsFileLines(bytes)), expected);
  EXPECT_EQ(SplitAt(bytes, SUMS_LINE_LIMIT), expected);
  const std::vector<Line> atTheLimit = {{Text(SUMS_LINE_LIMIT, L'a'), false}};
  EXPECT_EQ(Plain(SumsFileLines(std::string(SUMS_LINE_LIMIT, 'a'))), atTheLimit);
}

}  // namespace
