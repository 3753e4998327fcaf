#include "sums/lines/gpg_lines.h"

#include "sums/hex_digits.h"

namespace {

constexpr wchar_t NAME_END[] = L": ";
constexpr wchar_t TAG_END[] = L" = ";
// gpg fills its first line with the digest when the name leaves room for at least this much;
// fewer digits after "NAME: " are some other text.
constexpr size_t FIRST_LINE_DIGITS = 16;
constexpr size_t LONGEST_DIGEST_DIGITS = 128;

bool IsUpperHexDigit(wchar_t character) {
  return IsHexDigit(character) && !(character >= L'a' && character <= L'f');
}

bool IsGroupSize(size_t size) {
  return size == 2 || size == 4 || size == 8;
}

// "TAG = " at `start` (after blanks): the tag, and where the digits begin.
bool ReadTag(const Text& text, size_t start, Text& tag, size_t& after) {
  while (start < text.size() && IsBlank(text[start])) ++start;
  const size_t end = text.find(TAG_END, start);
  if (end == Text::npos || end == start) return false;
  for (size_t i = start; i < end; ++i) {
    if (IsBlank(text[i])) return false;
  }
  tag = text.substr(start, end - start);
  after = end + Text(TAG_END).size();
  return true;
}

}  // namespace

bool GpgLines::TakeStart(const Text& text, size_t lineNumber) {
  for (size_t end = text.find(NAME_END); end != Text::npos; end = text.find(NAME_END, end + 1)) {
    *this = GpgLines();
    if (end == 0) continue;
    name = text.substr(0, end);
    const size_t rest = end + Text(NAME_END).size();
    const bool alone = TrimmedBlanks(text.substr(rest)).empty();
    if (alone || (TakeGroups(text, rest, true) && hex.size() >= FIRST_LINE_DIGITS)) {
      startLine = lineNumber;
      return true;
    }
  }
  *this = GpgLines();
  return false;
}

bool GpgLines::TakeInEntry(const Text& text, std::vector<SumsEntry>& entries) {
  if (startLine == 0) return false;
  // A name alone is followed by its digest, unindented or tagged; a digest goes on indented.
  const bool digestsYet = !hex.empty();
  if ((!digestsYet || (!text.empty() && IsBlank(text[0]))) && TakeGroups(text, 0, !digestsYet)) {
    return true;
  }
  End(entries);
  return false;
}

void GpgLines::Finish(std::vector<SumsEntry>& entries) {
  if (startLine != 0) End(entries);
}

bool GpgLines::TakeGroups(const Text& text, size_t start, bool tagAllowed) {
  Text lineTag;
  if (tagAllowed) ReadTag(text, start, lineTag, start);
  Text digits;
  size_t size = groupSize;
  size_t i = start;
  for (;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) break;
    size_t length = 0;
    while (i + length < text.size() && IsUpperHexDigit(text[i + length])) ++length;
    if (size == 0 && IsGroupSize(length)) size = length;
    if (length != size || (i + length < text.size() && !IsBlank(text[i + length]))) return false;
    digits += text.substr(i, length);
    i += length;
  }
  if (digits.empty() || hex.size() + digits.size() > LONGEST_DIGEST_DIGITS) return false;
  groupSize = size;
  hex += digits;
  if (!lineTag.empty()) tag = lineTag;
  return true;
}

void GpgLines::End(std::vector<SumsEntry>& entries) {
  const NamedAlgorithm* algorithm = tag.empty() ? nullptr : FindAlgorithmByName(tag);
  if (tag.empty() || algorithm) {
    SumsEntry entry = ProperEntry(SumsLineForm::GPG, algorithm, hex, name);
    entry.lineNumber = startLine;
    entries.push_back(entry);
  }
  *this = GpgLines();
}
