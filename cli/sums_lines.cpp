#include "cli/sums_lines.h"

#include "cli/name_escaping.h"

namespace {

constexpr char UTF8_BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr wchar_t COMMENT_MARK = L'#';
constexpr wchar_t BINARY_MARK = L'*';

bool IsBlank(wchar_t character) {
  return character == L' ' || character == L'\t';
}

bool IsHexDigit(wchar_t character) {
  return (character >= L'0' && character <= L'9') || (character >= L'a' && character <= L'f') ||
         (character >= L'A' && character <= L'F');
}

bool AllHexDigits(const Text& text) {
  for (wchar_t character : text) {
    if (!IsHexDigit(character)) return false;
  }
  return true;
}

bool IsDigestLength(size_t hexLength) {
  return !AlgorithmsWithHexLength(AllAlgorithms(), hexLength).empty();
}

// The name as written, unescaped when the line said so; false when it cannot be unescaped.
bool TakeName(const Text& written, bool escaped, SumsLine& line) {
  if (!escaped) {
    line.name = written;
    return true;
  }
  return UnescapeName(written, line.name);
}

// What follows "TAG (": the name runs to the last ')', so a name may hold parentheses.
SumsLine ParseBsdRest(const Text& rest, const CliAlgorithm& algorithm, bool escaped) {
  SumsLine line;
  const size_t close = rest.rfind(L')');
  if (close == Text::npos) return line;
  size_t i = close + 1;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  if (i == rest.size() || rest[i] != L'=') return line;
  ++i;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  line.hex = rest.substr(i);
  if (line.hex.size() != algorithm.hexLength || !AllHexDigits(line.hex)) return {};
  if (!TakeName(rest.substr(0, close), escaped, line)) return {};
  line.form = SumsLineForm::BSD;
  line.algorithm = &algorithm;
  return line;
}

// The algorithm whose tag, an optional space and '(' start the text at `start`, or null; `after`
// is then where the name begins.
const CliAlgorithm* FindBsdTag(const Text& text, size_t start, size_t& after) {
  for (const CliAlgorithm& algorithm : CLI_ALGORITHMS) {
    const Text tag = algorithm.bsdTag;
    if (text.compare(start, tag.size(), tag) != 0) continue;
    size_t i = start + tag.size();
    if (i < text.size() && text[i] == L' ') ++i;
    if (i < text.size() && text[i] == L'(') {
      after = i + 1;
      return &algorithm;
    }
  }
  return nullptr;
}

SumsLine ParseGnu(const Text& text, size_t start, bool escaped) {
  SumsLine line;
  size_t i = start;
  while (i < text.size() && IsHexDigit(text[i])) ++i;
  if (!IsDigestLength(i - start)) return line;
  line.hex = text.substr(start, i - start);
  // One blank, then the mark of the reading mode: ' ' text, '*' binary.
  if (i + 1 >= text.size() || !IsBlank(text[i])) return {};
  if (text[i + 1] != L' ' && text[i + 1] != BINARY_MARK) return {};
  if (!TakeName(text.substr(i + 2), escaped, line)) return {};
  line.form = SumsLineForm::GNU;
  return line;
}

}  // namespace

std::vector<Text> SumsFileLines(const std::string& bytes) {
  std::vector<Text> lines;
  size_t start = bytes.compare(0, 3, UTF8_BYTE_ORDER_MARK) == 0 ? 3 : 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    if (end > start && bytes[end - 1] == '\r') --end;
    lines.push_back(TextFromNameBytes(bytes.substr(start, end - start)));
    start = next;
  }
  return lines;
}

SumsLine ParseSumsLine(const Text& text) {
  if (text.empty() || text[0] == COMMENT_MARK) {
    SumsLine ignored;
    ignored.form = SumsLineForm::COMMENT_OR_EMPTY;
    return ignored;
  }
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const bool escaped = i < text.size() && text[i] == ESCAPE_MARK;
  if (escaped) ++i;
  size_t nameStart = 0;
  if (const CliAlgorithm* algorithm = FindBsdTag(text, i, nameStart)) {
    return ParseBsdRest(text.substr(nameStart), *algorithm, escaped);
  }
  return ParseGnu(text, i, escaped);
}

Text LowerCaseHex(const Text& hex) {
  Text lower = hex;
  for (wchar_t& character : lower) {
    if (character >= L'A' && character <= L'F') {
      character = static_cast<wchar_t>(character - L'A' + L'a');
    }
  }
  return lower;
}
