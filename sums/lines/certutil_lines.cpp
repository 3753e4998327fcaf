#include "sums/lines/certutil_lines.h"

#include "sums/hex_digits.h"

namespace {

constexpr wchar_t CLOSING[] = L"CertUtil:";
constexpr wchar_t HASH_OF[] = L" hash of ";

// A digest written with blanks between its bytes, as certutil may, without them.
Text WithoutBlanks(const Text& text) {
  Text hex;
  for (wchar_t character : text) {
    if (!IsBlank(character)) hex += character;
  }
  return hex;
}

}  // namespace

bool CertutilLines::IsClosingLine(const Text& text, size_t start) {
  return text.compare(start, Text(CLOSING).size(), CLOSING) == 0;
}

bool CertutilLines::TakeHeader(const Text& text, size_t lineNumber) {
  const Text trimmed = TrimmedBlanks(text);
  const size_t hashOf = trimmed.find(HASH_OF);
  if (hashOf == Text::npos || trimmed.back() != L':') return false;
  algorithm = FindAlgorithmByName(trimmed.substr(0, hashOf));
  const size_t nameStart = hashOf + Text(HASH_OF).size();
  name = trimmed.substr(nameStart, trimmed.size() - 1 - nameStart);
  if (!algorithm || name.empty()) return false;
  headerLine = lineNumber;
  return true;
}

bool CertutilLines::TakeDigestLine(const Text& text, std::vector<SumsEntry>& entries) {
  if (headerLine == 0) return false;
  SumsEntry entry = ProperEntry(SumsLineForm::CERTUTIL, algorithm, WithoutBlanks(text), name);
  entry.lineNumber = headerLine;
  headerLine = 0;
  entries.push_back(entry);
  return entry.form != SumsLineForm::MALFORMED;
}

void CertutilLines::Finish(std::vector<SumsEntry>& entries) {
  if (headerLine == 0) return;
  SumsEntry entry;
  entry.lineNumber = headerLine;
  entries.push_back(entry);
  headerLine = 0;
}
