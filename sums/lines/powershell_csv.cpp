#include "sums/lines/powershell_csv.h"

#include <algorithm>
#include <vector>

#include "sums/hex_digits.h"
#include "sums/lines/powershell_list.h"

namespace {

// The fields of a line of comma-separated values; false when the quotes do not close.
bool SplitCsv(const Text& text, std::vector<Text>& fields) {
  fields.assign(1, Text());
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t character = text[i];
    if (quoted && character == L'"' && i + 1 < text.size() && text[i + 1] == L'"') {
      fields.back() += L'"';
      ++i;
    } else if (character == L'"') {
      quoted = !quoted;
    } else if (character == L',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += character;
    }
  }
  return !quoted;
}

// Where the header holds each of POWERSHELL_KEYS; false when one is missing.
bool FindColumns(const std::vector<Text>& header, size_t columns[3]) {
  for (size_t k = 0; k < 3; ++k) {
    columns[k] = header.size();
    for (size_t i = 0; i < header.size(); ++i) {
      if (LowerCaseAscii(TrimmedBlanks(header[i])) == POWERSHELL_KEYS[k]) columns[k] = i;
    }
    if (columns[k] == header.size()) return false;
  }
  return true;
}

}  // namespace

PowerShellCsv::Line PowerShellCsv::Take(const Text& text, SumsEntry& entry) {
  std::vector<Text> fields;
  if (text.find(L',') == Text::npos || !SplitCsv(text, fields)) return Line::OTHER;
  size_t found[3];
  if (FindColumns(fields, found)) {
    std::copy(found, found + 3, columns);
    fieldCount = fields.size();
    return Line::HEADER;
  }
  if (fieldCount == 0) return Line::OTHER;
  entry = fields.size() != fieldCount
              ? SumsEntry()
              : PowerShellEntry(fields[columns[0]], fields[columns[1]], fields[columns[2]]);
  return Line::RECORD;
}
