#include "cli/inputs/files_from_list.h"

void FilesFromListReader::Feed(const char* bytes, size_t size) {
  pending.append(bytes, size);
  TellEncoding(false);
  TakeLines(false);
}

void FilesFromListReader::End() {
  TellEncoding(true);
  TakeLines(true);
}

bool FilesFromListReader::Next(Text& name) {
  if (names.empty()) return false;
  name = std::move(names.front());
  names.pop_front();
  return true;
}

void FilesFromListReader::TellEncoding(bool ended) {
  if (decided) return;
  ByteOrderMark mark;
  if (!ReadByteOrderMark(pending, ended, mark)) return;
  decided = true;
  encoding = mark.encoding;
  pending.erase(0, mark.length);
}

void FilesFromListReader::TakeLines(bool ended) {
  if (!decided) return;
  if (encoding == TextEncoding::UTF8) {
    TakeUtf8Lines(ended);
  } else {
    TakeUtf16Lines(ended);
  }
}

void FilesFromListReader::TakeUtf8Lines(bool ended) {
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

void FilesFromListReader::TakeUtf16Lines(bool ended) {
  std::u16string line;
  size_t start = 0;  // of the current line in `pending`
  size_t i = 0;
  for (; i + 1 < pending.size(); i += 2) {
    const char16_t unit =
        Utf16Unit(encoding, static_cast<uint8_t>(pending[i]), static_cast<uint8_t>(pending[i + 1]));
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

void FilesFromListReader::Keep(Text name) {
  if (!name.empty()) names.push_back(std::move(name));
}
