// UTF-8 at the edges: round trips through every plane and repair of broken input.
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

}  // namespace
