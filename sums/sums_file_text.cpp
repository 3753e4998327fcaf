#include "sums/sums_file_text.h"

#include <cstdint>
#include <cstring>

void SumsFileText::Take(const char* bytes, size_t size, std::vector<SumsFileLine>& lines) {
  if (!decided) {
    start.append(bytes, size);
    Decide(false, lines);
  } else if (encoding == TextEncoding::UTF8) {
    TakeUtf8(bytes, size, lines);
  } else {
    TakeUtf16(bytes, size, lines);
  }
}

void SumsFileText::Finish(std::vector<SumsFileLine>& lines) {
  if (!decided) Decide(true, lines);
  // A UTF-16 file cut after half a code unit loses that half.
  if (lineBytes != 0) EndLine(lines);
}

// The first bytes are held until they tell the encoding, then taken as its text.
void SumsFileText::Decide(bool ended, std::vector<SumsFileLine>& lines) {
  ByteOrderMark mark;
  if (!ReadByteOrderMark(start, ended, mark)) return;
  decided = true;
  encoding = mark.encoding;
  const std::string first = std::move(start);
  Take(first.data() + mark.length, first.size() - mark.length, lines);
}

void SumsFileText::TakeUtf8(const char* piece, size_t size, std::vector<SumsFileLine>& lines) {
  if (std::memchr(piece, '\0', size)) binary = true;
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
    const char16_t unit =
        Utf16Unit(encoding, static_cast<uint8_t>(oddByte), static_cast<uint8_t>(piece[i]));
    oddByte = -1;
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
    ended.text = encoding == TextEncoding::UTF8 ? TextFromNameBytes(bytes) : TextFromUtf16(units);
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
