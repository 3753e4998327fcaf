#include "runtime/text.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;
// Where a byte that is not part of valid UTF-8 goes in a name's text: U+DC80..U+DCFF.
constexpr char32_t ESCAPED_BYTE_BASE = 0xDC00;

struct KnownMark {
  const char* bytes;
  size_t length;
  TextEncoding encoding;
};
constexpr KnownMark BYTE_ORDER_MARKS[] = {
    {"\xEF\xBB\xBF", 3, TextEncoding::UTF8},
    {"\xFF\xFE", 2, TextEncoding::UTF16_LITTLE_ENDIAN},
    {"\xFE\xFF", 2, TextEncoding::UTF16_BIG_ENDIAN},
};

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The character a pair of surrogates stands for; AppendCodePoint splits it again.
char32_t JoinSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendCodePoint(Text& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

// Length of a UTF-8 sequence from its lead byte, 0 for a byte that cannot lead.
int SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// `keepBytes`: a lone U+DC80..U+DCFF is the byte it stands for, not a broken text.
std::string EncodeUtf8(const Text& text, bool keepBytes) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t unit = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && IsHighSurrogate(unit) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      unit = JoinSurrogates(unit, static_cast<char32_t>(text[++i]));
    } else if (keepBytes && unit >= ESCAPED_BYTE_BASE + 0x80 && unit <= ESCAPED_BYTE_BASE + 0xFF) {
      out += static_cast<char>(unit - ESCAPED_BYTE_BASE);
      continue;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || unit > 0x10FFFF) {
      unit = REPLACEMENT_CHARACTER;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

// `keepBytes`: a byte that starts no valid sequence becomes U+DC00 plus the byte, not U+FFFD.
Text DecodeUtf8(const std::string& utf8, bool keepBytes) {
  Text out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const int length = SequenceLength(lead);
    if (length == 0 || i + length > utf8.size()) {
      AppendCodePoint(out, keepBytes ? ESCAPED_BYTE_BASE + lead : REPLACEMENT_CHARACTER);
      ++i;
      continue;
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<uint8_t>(utf8[i + k]);
      valid = valid && (next & 0xC0) == 0x80;
      cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!valid || cp < smallest[length] || cp > 0x10FFFF || IsHighSurrogate(cp) ||
        IsLowSurrogate(cp)) {
      AppendCodePoint(out, keepBytes ? ESCAPED_BYTE_BASE + lead : REPLACEMENT_CHARACTER);
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += length;
  }
  return out;
}

}  // namespace

std::string Utf8FromText(const Text& text) {
  return EncodeUtf8(text, false);
}

Text TextFromUtf8(const std::string& utf8) {
  return DecodeUtf8(utf8, false);
}

std::string NameBytesFromText(const Text& text) {
  return EncodeUtf8(text, true);
}

Text TextFromNameBytes(const std::string& bytes) {
  return DecodeUtf8(bytes, true);
}

Text TextFromUtf16(const std::u16string& units) {
  Text text;
  text.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      AppendCodePoint(text, JoinSurrogates(unit, units[++i]));
    } else {
      text += static_cast<wchar_t>(unit);
    }
  }
  return text;
}

bool ReadByteOrderMark(const std::string& start, bool ended, ByteOrderMark& mark) {
  for (const KnownMark& known : BYTE_ORDER_MARKS) {
    const size_t compared = std::min(start.size(), known.length);
    if (start.compare(0, compared, known.bytes, compared) != 0) continue;
    if (compared == known.length) {
      mark = ByteOrderMark{known.encoding, known.length};
      return true;
    }
    if (!ended) return false;
  }
  mark = ByteOrderMark{};
  return true;
}

std::string EncodedText(const Text& text, TextEncoding encoding) {
  if (encoding == TextEncoding::UTF8) return NameBytesFromText(text);
  std::string bytes;
  bytes.reserve(text.size() * 2);
  const auto put = [&](uint32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += encoding == TextEncoding::UTF16_LITTLE_ENDIAN ? low : high;
    bytes += encoding == TextEncoding::UTF16_LITTLE_ENDIAN ? high : low;
  };
  for (wchar_t character : text) {
    const uint32_t point = static_cast<uint32_t>(character);
    if (point <= 0xFFFF) {
      put(point);
    } else {
      put(0xD800 + ((point - 0x10000) >> 10));
      put(0xDC00 + ((point - 0x10000) & 0x3FF));
    }
  }
  return bytes;
}

char16_t Utf16Unit(TextEncoding encoding, uint8_t first, uint8_t second) {
  return static_cast<char16_t>(encoding == TextEncoding::UTF16_LITTLE_ENDIAN ? first | second << 8
                                                                             : first << 8 | second);
}
