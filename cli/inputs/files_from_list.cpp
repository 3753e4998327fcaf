#include "cli/name_list.h"

namespace {

constexpr char UTF8_BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr char UTF16_LITTLE_ENDIAN_MARK[] = "\xFF\xFE";
constexpr char UTF16_BIG_ENDIAN_MARK[] = "\xFE\xFF";

bool StartsWith(const std::string& bytes, const char* prefix, size_t length) {
  return bytes.compare(0, length, prefix, length) == 0;
}

// A prefix of `mark` that more bytes may complete.
bool MayBecome(const std::string& bytes, const char* mark, size_t length) {
  return bytes.size() < length && StartsWith(bytes, mark, bytes.size());
}

void AppendCodePoint(Text& text, char32_t point) {
  if (sizeof(wchar_t) == 2 && point >= 0x10000) {
    point -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (point >> 10));
    text += static_cast<wchar_t>(0xDC00 + (point & 0x3FF));
  } else {
    text += static_cast<wchar_t>(point);
  }
}

// UTF-16 units to text; a lone surrogate, which names no character, becomes U+FFFD.
Text TextFromUtf16(const std::u16string& units) {
  Text text;
  for (size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendCodePoint(text, 0xFFFD);
    } else {
      AppendCodePoint(text, unit);
    }
  }
  return text;
}

}  // namespace

void NameListReader::Feed(const char* bytes, size_t size) {
  pending.append(bytes, size);
  TellEncoding(false);
  TakeLines(false);
}

void NameListReader::End() {
  TellEncoding(true);
  TakeLines(true);
}

bool NameListReader::Next(Text& name) {
  if (names.empty()) return false;
  name = std::move(names.front());
  names.pop_front();
  return true;
}

void NameListReader::TellEncoding(bool ended) {
  if (encoding != Encoding::UNKNOWN) return;
  if (!ended && (MayBecome(pending, UTF8_BYTE_ORDER_MARK, 3) ||
                 MayBecome(pending, UTF16_LITTLE_ENDIAN_MARK, 2) ||
                 MayBecome(pending, UTF16_BIG_ENDIAN_MARK, 2))) {
    return;
  }
  encoding = Encoding::UTF8;
  if (StartsWith(pending, UTF8_BYTE_ORDER_MARK, 3)) {
    pending.erase(0, 3);
  } else if (StartsWith(pending, UTF16_LITTLE_ENDIAN_MARK, 2)) {
    encoding = Encoding::UTF16_LITTLE_ENDIAN;
    pending.erase(0, 2);
  } else if (StartsWith(pending, UTF16_BIG_ENDIAN_MARK, 2)) {
    encoding = Encoding::UTF16_BIG_ENDIAN;
    pending.erase(0, 2);
  }
}

void NameListReader::TakeLines(bool ended) {
  if (encoding == Encoding::UTF8) TakeUtf8Lines(ended);
  if (encoding == Encoding::UTF16_LITTLE_ENDIAN || encoding == Encoding::UTF16_BIG_ENDIAN) {
    TakeUtf16Lines(ended);
  }
}

void NameListReader::TakeUtf8Lines(bool ended) {
  size_t start = 0;
  for (;;) {
    const size_t end = pending.find_first_of(std::string("\n\0", 2), start);
    if (end == std::string::npos) break;
    size_t length = end - start;
    if (pending[end] == '\n' && length > 0 && pending[end - 1] == '\r') --length;
    Keep(TextFromNameBytes(pending.substr(start, length)));
    start = end + 1;
  }
  pending.erase(0, start);
  if (ended) {
    if (!pending.empty() && pending.back() == '\r') pending.pop_back();
    Keep(TextFromNameBytes(pending));
    pending.clear();
  }
}

void NameListReader::TakeUtf16Lines(bool ended) {
  const bool littleEndian = encoding == Encoding::UTF16_LITTLE_ENDIAN;
  std::u16string line;
  size_t start = 0;  // of the current line in `pending`
  size_t i = 0;
  for (; i + 1 < pending.size(); i += 2) {
    const auto first = static_cast<unsigned char>(pending[i]);
    const auto second = static_cast<unsigned char>(pending[i + 1]);
    const char16_t unit = littleEndian ? static_cast<char16_t>(first | second << 8)
                                       : static_cast<char16_t>(first << 8 | second);
    if (unit != u'\n' && unit != 0) {
      line += unit;
      continue;
    }
    if (unit == u'\n' && !line.empty() && line.back() == u'\r') line.pop_back();
    Keep(TextFromUtf16(line));
    line.clear();
    start = i + 2;
  }
  pending.erase(0, start);
  if (ended) {
    // An odd byte at the very end belongs to no unit.
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    Keep(TextFromUtf16(line));
    pending.clear();
  }
}

void NameListReader::Keep(Text name) {
  if (!name.empty()) names.push_back(std::move(name));
}
