// UTF-8 at the edges: round trips through every plane and repair of broken input; UTF-16 and
// byte-order marks as Windows files hold them.
#include "runtime/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  const Text text = TextFromUtf8(utf8);
  EXPECT_EQ(text.size(), sizeof(wchar_t) == 2 ? 6u : 5u);
  EXPECT_EQ(text[1], L'\u00E9');
  EXPECT_EQ(Utf8FromText(text), utf8);
}

TEST(Utf8, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(TextFromUtf8("a\xFF"
                         "b"),
            L"a\uFFFDb");
  EXPECT_EQ(TextFromUtf8("\xE2\x82"), L"\uFFFD\uFFFD");
  EXPECT_EQ(TextFromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");  // overlong '/'
  EXPECT_EQ(Utf8FromText(Text(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(NameBytes, KeepEveryByteOfANameThatIsNotUtf8) {
  const std::string latin1 = "lat\xE9.txt";
  EXPECT_EQ(TextFromNameBytes(latin1), L"lat\xDCE9.txt");
  EXPECT_EQ(TextFromNameBytes("\xE2\x82"), L"\xDCE2\xDC82");
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  EXPECT_EQ(TextFromNameBytes(utf8), TextFromUtf8(utf8));
  // Every byte string comes back as it was: all pairs of bytes, and stray continuation bytes.
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const std::string bytes = {static_cast<char>(first), static_cast<char>(second), '\x80'};
      ASSERT_EQ(NameBytesFromText(TextFromNameBytes(bytes)), bytes) << first << " " << second;
    }
  }
  EXPECT_EQ(Utf8FromText(TextFromNameBytes(latin1)), "lat\xEF\xBF\xBD.txt");
}

TEST(Utf16, JoinsPairsAndKeepsLoneSurrogates) {
  const std::u16string units = {u'a', 0xD83D, 0xDE00, u'z'};  // a 😀 z
  EXPECT_EQ(Utf8FromText(TextFromUtf16(units)), "a\xF0\x9F\x98\x80z");
  // A Windows name may hold a lone surrogate: it stays one unit, in either half and at either end.
  const std::u16string lone = {0xDC00, u'x', 0xD800, u'y', 0xDFFF, 0xDBFF};
  const Text text = TextFromUtf16(lone);
  ASSERT_EQ(text.size(), lone.size());
  for (size_t i = 0; i < lone.size(); ++i) EXPECT_EQ(static_cast<char32_t>(text[i]), lone[i]);
  // Out through UTF-8 it goes as the UTF-8 routines take that code point: replaced, or through
  // NameBytesFromText, for U+DC80..U+DCFF, as the byte a name's text holds it for.
  EXPECT_EQ(Utf8FromText(TextFromUtf16({0xD800})), "\xEF\xBF\xBD");
  EXPECT_EQ(NameBytesFromText(TextFromUtf16({0xDCE9})), "\xE9");
}

TEST(ByteOrderMark, TellsTheEncodingOnceEnoughBytesHaveCome) {
  struct Case {
    std::string start;
    bool ended, decided;
    TextEncoding encoding;
    size_t length;
  };
  const Case cases[] = {
      {"", false, false, TextEncoding::UTF8, 0},
      {"", true, true, TextEncoding::UTF8, 0},
      {"\xEF\xBB", false, false, TextEncoding::UTF8, 0},
      {"\xEF\xBB", true, true, TextEncoding::UTF8, 0},
      {"\xEF\xBB\xBF"
       "a",
       false, true, TextEncoding::UTF8, 3},
      {"\xFF", false, false, TextEncoding::UTF8, 0},
      {"\xFF\xFE", false, true, TextEncoding::UTF16_LITTLE_ENDIAN, 2},
      {"\xFE\xFF\x00a", false, true, TextEncoding::UTF16_BIG_ENDIAN, 2},
      {"\xFE\xFE", false, true, TextEncoding::UTF8, 0},
      {"abc", false, true, TextEncoding::UTF8, 0},
  };
  for (const Case& c : cases) {
    ByteOrderMark mark{TextEncoding::UTF16_BIG_ENDIAN, 9};
    ASSERT_EQ(ReadByteOrderMark(c.start, c.ended, mark), c.decided) << c.start.size();
    if (!c.decided) continue;
    EXPECT_EQ(mark.encoding, c.encoding) << c.start.size();
    EXPECT_EQ(mark.length, c.length) << c.start.size();
  }
  EXPECT_EQ(Utf16Unit(TextEncoding::UTF16_LITTLE_ENDIAN, 0x3D, 0xD8), 0xD83D);
  EXPECT_EQ(Utf16Unit(TextEncoding::UTF16_BIG_ENDIAN, 0xD8, 0x3D), 0xD83D);
}

}  // namespace
