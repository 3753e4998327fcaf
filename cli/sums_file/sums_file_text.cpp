#include "cli/sums_file_text.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char UTF8_BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr char UTF16_LITTLE_ENDIAN_MARK[] = "\xFF\xFE";
constexpr char UTF16_BIG_ENDIAN_MARK[] = "\xFE\xFF";
constexpr size_t LONGEST_MARK = 3;
constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

bool StartsWith(const std::string& bytes, const char* mark) {
  return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
}

// Code units as the platform's text: as they are where wchar_t is 16 bits, else surrogate pairs
// joined and lone surrogates replaced.
Text TextFromUtf16(const std::u16string& units) {
  if constexpr (sizeof(wchar_t) == 2) return Text(units.begin(), units.end());
  Text text;
  for (size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      text += static_cast<wchar_t>(REPLACEMENT_CHARACTER);
    } else {
      text += static_cast<wchar_t>(unit);
    }
  }
  return text;
}

}  // namespace

void SumsFileText::Take(const char* bytes, size_t size, std::vector<SumsFileLine>& lines) {
  if (encoding == Encoding::UNDECIDED) {
    start.append(bytes, size);
    if (start.size() >= LONGEST_MARK) Decide(lines);
    return;
  }
  if (encoding == Encoding::UTF8) {
    TakeUtf8(bytes, size, lines);
  } else {
    TakeUtf16(bytes, size, lines);
  }
}

void SumsFileText::Finish(std::vector<SumsFileLine>& lines) {
  if (encoding == Encoding::UNDECIDED) Decide(lines);
  // A UTF-16 file cut after half a code unit loses that half.
  if (lineBytes != 0) EndLine(lines);
}

void SumsFileText::Decide(std::vector<SumsFileLine>& lines) {
  const std::string first = std::move(start);
  size_t mark = 0;
  if (StartsWith(first, UTF8_BYTE_ORDER_MARK)) {
    encoding = Encoding::UTF8;
    mark = 3;
  } else if (StartsWith(first, UTF16_LITTLE_ENDIAN_MARK)) {
    encoding = Encoding::UTF16_LITTLE_ENDIAN;
    mark = 2;
  } else if (StartsWith(first, UTF16_BIG_ENDIAN_MARK)) {
    encoding = Encoding::UTF16_BIG_ENDIAN;
    mark = 2;
  } else {
    encoding = Encoding::UTF8;
  }
  Take(first.data() + mark, first.size() - mark, lines);
}

void SumsFileText::TakeUtf8(const char* piece, size_t size, std::vector<SumsFileLine>& lines) {
  while (size > 0) {
    const char* end = static_cast<const char*>(std::memchr(piece, '\n', size));
    const size_t length = end ? static_cast<size_t>(end - piece) : size;
    Grow(length);
    if (!tooLong) bytes.append(piece, length);
    if (!end) return;
    EndLine(lines);
    piece += length + 1;
    size -= length + 1;
  }
}

void SumsFileText::TakeUtf16(const char* piece, size_t size, std::vector<SumsFileLine>& lines) {
  for (size_t i = 0; i < size; ++i) {
    if (oddByte < 0) {
      oddByte = static_cast<uint8_t>(piece[i]);
      continue;
    }
    const unsigned first = static_cast<unsigned>(oddByte), second = static_cast<uint8_t>(piece[i]);
    oddByte = -1;
    const char16_t unit = static_cast<char16_t>(
        encoding == Encoding::UTF16_LITTLE_ENDIAN ? first | second << 8 : first << 8 | second);
    if (unit == u'\n') {
      EndLine(lines);
      continue;
    }
    Grow(2);
    if (!tooLong) units += unit;
  }
}

void SumsFileText::Grow(size_t size) {
  lineBytes += size;
  if (lineBytes <= SUMS_LINE_LIMIT || tooLong) return;
  tooLong = true;
  std::string().swap(bytes);
  std::u16string().swap(units);
}

void SumsFileText::EndLine(std::vector<SumsFileLine>& lines) {
  SumsFileLine ended;
  ended.tooLong = tooLong;
  if (!tooLong) {
    ended.text = encoding == Encoding::UTF8 ? TextFromNameBytes(bytes) : TextFromUtf16(units);
    if (!ended.text.empty() && ended.text.back() == L'\r') ended.text.pop_back();
  }
  lines.push_back(std::move(ended));
  bytes.clear();
  units.clear();
  lineBytes = 0;
  tooLong = false;
}

std::vector<SumsFileLine> SumsFileLines(const std::string& bytes) {
  std::vector<SumsFileLine> lines;
  SumsFileText text;
  text.Take(bytes.data(), bytes.size(), lines);
  text.Finish(lines);
  return lines;
}
