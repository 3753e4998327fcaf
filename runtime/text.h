#pragma once
// Text is UTF-16 on Windows (wchar_t is 16 bits there). The portable code uses the same type
// natively, where wchar_t holds UTF-32 code points; conversions happen only at the edges.
#include <cstddef>
#include <cstdint>
#include <string>

using Text = std::wstring;

// UTF-8 for the edges that speak it: POSIX file names and console output.
std::string Utf8FromText(const Text& text);
Text TextFromUtf8(const std::string& utf8);

// File names outside Windows are bytes, not always UTF-8. These two keep every byte: one that is
// not part of valid UTF-8 becomes U+DC80..U+DCFF in the text (a code point valid UTF-8 never
// gives), and that code point becomes the byte again on the way out. For valid UTF-8 they are
// the two above.
Text TextFromNameBytes(const std::string& bytes);
std::string NameBytesFromText(const Text& text);

// UTF-16 code units, as Windows and its files hold text: a surrogate pair becomes the character it
// stands for, and a lone surrogate, which a Windows name may hold, is kept as it is (where wchar_t
// has 32 bits, as the code point of the same number). On the way out to UTF-8 such a code point
// goes as the routines above take it: U+FFFD, or for U+DC80..U+DCFF through NameBytesFromText the
// byte it stands for, as if the name had come from bytes.
Text TextFromUtf16(const std::u16string& units);

// The encodings a byte-order mark tells apart; a text without a mark is UTF-8.
enum class TextEncoding { UTF8, UTF16_LITTLE_ENDIAN, UTF16_BIG_ENDIAN };

struct ByteOrderMark {
  TextEncoding encoding = TextEncoding::UTF8;
  size_t length = 0;  // in bytes; 0: there is none
};

// The byte-order mark the first bytes of a text start with. False while they are too few to tell,
// being the start of a mark that more bytes may complete; `ended`: no more bytes will come.
bool ReadByteOrderMark(const std::string& start, bool ended, ByteOrderMark& mark);

// The bytes of `text` in `encoding`, without a byte-order mark: UTF-8 as NameBytesFromText gives
// it, or UTF-16 code units in the encoding's byte order.
std::string EncodedText(const Text& text, TextEncoding encoding);

// A UTF-16 code unit from its two bytes, in the order `encoding` gives them.
char16_t Utf16Unit(TextEncoding encoding, uint8_t first, uint8_t second);
