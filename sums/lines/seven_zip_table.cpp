#include "sums/lines/seven_zip_table.h"

#include "sums/hex_digits.h"

namespace {

constexpr wchar_t SIZE_HEADING[] = L"Size";
constexpr wchar_t NAME_HEADING[] = L"Name";
// How the summary's lines after the totals start, or what they hold.
constexpr const wchar_t* SUMMARY_STARTS[] = {L"Files:", L"Folders:", L"Size:", L"Everything is Ok"};
constexpr wchar_t SUMMARY_DIGEST[] = L" for data";

bool IsHeadingCharacter(wchar_t character) {
  return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z') ||
         (character >= L'0' && character <= L'9') || character == L'-';
}

// The words of `text` and where each starts.
void SplitWords(const Text& text, std::vector<Text>& words, std::vector<size_t>& starts) {
  for (size_t i = 0; i < text.size();) {
    if (IsBlank(text[i])) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    words.push_back(text.substr(start, i - start));
    starts.push_back(start);
  }
}

bool AllBlank(const Text& text) {
  return TrimmedBlanks(text).empty();
}

bool AllDecimal(const Text& text) {
  for (wchar_t character : text) {
    if (character < L'0' || character > L'9') return false;
  }
  return !text.empty();
}

bool IsSummaryLine(const Text& text) {
  const Text trimmed = TrimmedBlanks(text);
  for (const wchar_t* start : SUMMARY_STARTS) {
    if (trimmed.compare(0, Text(start).size(), start) == 0) return true;
  }
  const size_t digest = trimmed.find(SUMMARY_DIGEST);
  return digest != Text::npos && trimmed.find(L':', digest) != Text::npos;
}

}  // namespace

bool SevenZipTable::TakeHeader(const Text& text, size_t lineNumber) {
  std::vector<Text> words;
  std::vector<size_t> wordStarts;
  SplitWords(text, words, wordStarts);
  const size_t count = words.size();
  if (count < 3 || words[count - 2] != SIZE_HEADING || words[count - 1] != NAME_HEADING) {
    return false;
  }
  // Headings are algorithms' names, never digits that a line of digests may start with.
  bool known = false;
  for (size_t i = 0; i + 2 < count; ++i) {
    for (wchar_t character : words[i]) {
      if (!IsHeadingCharacter(character)) return false;
    }
    if (AllHexDigits(words[i])) return false;
    known = known || FindAlgorithmByName(words[i]) != nullptr;
  }
  if (!known) return false;
  *this = SevenZipTable();
  stage = Stage::HEADER;
  headerLine = lineNumber;
  names = std::move(words);
  starts = std::move(wordStarts);
  return true;
}

// The dashes stand under the header's words: a digest's heading and the name's start where their
// dashes start, the size's heading ends where its dashes end.
bool SevenZipTable::TakeDashes(const Text& text, std::vector<SumsEntry>& entries) {
  if (stage != Stage::HEADER) return false;
  std::vector<Text> runs;
  std::vector<size_t> runStarts;
  SplitWords(text, runs, runStarts);
  bool fits = runs.size() == names.size();
  for (size_t i = 0; fits && i < runs.size(); ++i) {
    fits = runs[i].find_first_not_of(L'-') == Text::npos;
    const size_t end = runStarts[i] + runs[i].size();
    const bool sizeColumn = i + 2 == runs.size();
    fits = fits && (sizeColumn ? starts[i] + names[i].size() == end : starts[i] == runStarts[i]);
    columns.push_back({runStarts[i], end});
  }
  if (!fits) {
    DropHeader(entries);
    return false;
  }
  dashes = text;
  stage = Stage::ROWS;
  return true;
}

void SevenZipTable::Finish(std::vector<SumsEntry>& entries) {
  if (stage == Stage::HEADER) DropHeader(entries);
}

void SevenZipTable::DropHeader(std::vector<SumsEntry>& entries) {
  SumsEntry header;
  header.lineNumber = headerLine;
  entries.push_back(header);
  *this = SevenZipTable();
}

bool SevenZipTable::IsDashes(const Text& text) const {
  return TrimmedBlanks(text) == TrimmedBlanks(dashes);
}

SevenZipTable::Line SevenZipTable::TakeLine(const Text& text, SumsEntry& entry) {
  switch (stage) {
    case Stage::NONE:
    case Stage::HEADER:
      return Line::OTHER;
    case Stage::ROWS:
      if (IsDashes(text)) {
        stage = Stage::TOTALS;
        return Line::NO_ENTRY;
      }
      return ReadRow(text, entry) ? Line::ROW : Line::NO_ENTRY;
    case Stage::TOTALS:
      stage = Stage::SUMMARY;
      return Line::NO_ENTRY;
    case Stage::SUMMARY:
      if (IsSummaryLine(text)) return Line::NO_ENTRY;
      *this = SevenZipTable();
      return Line::OTHER;
  }
  return Line::OTHER;
}

bool SevenZipTable::ReadRow(const Text& text, SumsEntry& entry) const {
  entry = SumsEntry();
  const Span nameColumn = columns.back();
  if (text.size() <= nameColumn.first) return true;  // cut short before the name
  std::vector<WrittenDigest> digests;
  bool anyDigest = false;
  size_t after = 0;  // where the last column read ended
  for (size_t i = 0; i + 1 < columns.size(); ++i) {
    const auto [first, end] = columns[i];
    const Text cell = text.substr(first, end - first);
    if (!AllBlank(text.substr(after, first - after))) return true;
    after = end;
    if (i + 2 == columns.size()) {
      if (!AllDecimal(TrimmedBlanks(cell)) && !AllBlank(cell)) return true;
    } else if (!AllBlank(cell)) {
      if (!AllHexDigits(cell)) return true;
      anyDigest = true;
      const NamedAlgorithm* algorithm = FindAlgorithmByName(names[i]);
      if (algorithm) digests.push_back({algorithm, cell});
    }
  }
  const Text name = TrimmedBlanks(text.substr(nameColumn.first));
  if (!AllBlank(text.substr(after, nameColumn.first - after)) || name.empty()) return true;
  if (!anyDigest) return false;  // a folder's row
  if (digests.empty()) return true;
  entry = ProperEntry(SumsLineForm::SEVEN_ZIP, digests[0].algorithm, digests[0].hex, name);
  for (size_t i = 1; i < digests.size() && entry.form != SumsLineForm::MALFORMED; ++i) {
    if (HexLength(*digests[i].algorithm) != digests[i].hex.size()) entry = SumsEntry();
    entry.moreDigests.push_back(digests[i]);
  }
  if (entry.form == SumsLineForm::MALFORMED) entry.moreDigests.clear();
  return true;
}
