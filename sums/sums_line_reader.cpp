#include "sums/sums_line_reader.h"

#include <algorithm>

#include "sums/hex_digits.h"
#include "sums/line_escapes.h"

namespace {

constexpr wchar_t BINARY_MARK = L'*';
constexpr wchar_t TEXT_MARK = L' ';
constexpr wchar_t CERTUTIL_CLOSING[] = L"CertUtil:";
constexpr wchar_t CERTUTIL_HASH_OF[] = L" hash of ";
constexpr const wchar_t* POWERSHELL_FIELDS[] = {L"algorithm", L"hash", L"path"};

// A digest written with blanks between its bytes, as certutil may, without them.
Text WithoutBlanks(const Text& text) {
  Text hex;
  for (wchar_t character : text) {
    if (!IsBlank(character)) hex += character;
  }
  return hex;
}

const NamedAlgorithm& Crc32Algorithm() {
  return *FindAlgorithmByName(L"crc32");
}

// The name as written, unescaped when the line said so; empty when it cannot be unescaped.
Text TakenName(const Text& written, bool escaped) {
  Text name;
  if (!escaped) return written;
  return UnescapeName(written, name) ? name : Text();
}

// What follows "TAG (": the name runs to the last ')', so a name may hold parentheses.
SumsEntry ParseTaggedRest(const Text& rest, const NamedAlgorithm& algorithm, bool escaped) {
  const size_t close = rest.rfind(L')');
  if (close == Text::npos) return {};
  size_t i = close + 1;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  if (i == rest.size() || rest[i] != L'=') return {};
  ++i;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  return ProperEntry(SumsLineForm::BSD, &algorithm, rest.substr(i),
                     TakenName(rest.substr(0, close), escaped));
}

// The algorithm whose tag (bsd or OpenSSL), an optional space and '(' start the text at `start`,
// or null; `after` is then where the name begins.
const NamedAlgorithm* FindTag(const Text& text, size_t start, size_t& after) {
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    for (const wchar_t* tag : {algorithm.bsdTag, algorithm.opensslTag}) {
      const size_t length = tag ? std::char_traits<wchar_t>::length(tag) : 0;
      if (!tag || text.compare(start, length, tag) != 0) continue;
      size_t i = start + length;
      if (i < text.size() && text[i] == L' ') ++i;
      if (i < text.size() && text[i] == L'(') {
        after = i + 1;
        return &algorithm;
      }
    }
  }
  return nullptr;
}

// "TAG hash of NAME:", the line certutil writes before the digest.
bool ParseCertutilHeader(const Text& text, const NamedAlgorithm*& algorithm, Text& name) {
  const size_t hashOf = text.find(CERTUTIL_HASH_OF);
  if (hashOf == Text::npos || text.empty() || text.back() != L':') return false;
  algorithm = FindAlgorithmByName(text.substr(0, hashOf));
  const size_t nameStart = hashOf + Text(CERTUTIL_HASH_OF).size();
  name = text.substr(nameStart, text.size() - 1 - nameStart);
  return algorithm && !name.empty();
}

// "NAME   CRC32".
SumsEntry ParseSfv(const Text& text) {
  const Text trimmed = TrimmedBlanks(text);
  size_t digits = trimmed.size();
  while (digits > 0 && !IsBlank(trimmed[digits - 1])) --digits;
  if (digits == 0 || trimmed.size() - digits != HexLength(Crc32Algorithm())) return {};
  return ProperEntry(SumsLineForm::SFV, &Crc32Algorithm(), trimmed.substr(digits),
                     TrimmedBlanks(trimmed.substr(0, digits)));
}

// The fields of a line of comma-separated values, each maybe in double quotes with "" for a quote
// inside; false when the quotes do not close.
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

// Where the header holds each of POWERSHELL_FIELDS; false when one is missing.
bool FindCsvColumns(const std::vector<Text>& header, size_t columns[3]) {
  for (size_t k = 0; k < 3; ++k) {
    columns[k] = header.size();
    for (size_t i = 0; i < header.size(); ++i) {
      if (LowerCaseAscii(TrimmedBlanks(header[i])) == POWERSHELL_FIELDS[k]) columns[k] = i;
    }
    if (columns[k] == header.size()) return false;
  }
  return true;
}

// "Key : value" as Format-List writes it, the key lower-cased; `valueColumn` is where the value
// starts.
bool SplitPowerShellField(const Text& text, Text& key, Text& value, size_t& valueColumn) {
  const size_t colon = text.find(L':');
  if (colon == Text::npos || colon + 1 >= text.size() || text[colon + 1] != L' ') return false;
  key = LowerCaseAscii(TrimmedBlanks(text.substr(0, colon)));
  valueColumn = colon + 2;
  value = text.substr(valueColumn);
  return true;
}

SumsEntry PowerShellEntry(const Text& algorithmName, const Text& hex, const Text& name) {
  const NamedAlgorithm* algorithm = FindAlgorithmByName(TrimmedBlanks(algorithmName));
  if (!algorithm) return {};
  return ProperEntry(SumsLineForm::POWERSHELL, algorithm, TrimmedBlanks(hex), TrimmedBlanks(name));
}

// The first of a hashdeep row's digests makes the entry, the others go with it.
SumsEntry HashdeepEntry(const HashdeepRow& row) {
  if (row.digests.empty()) return {};
  SumsEntry entry =
      ProperEntry(SumsLineForm::HASHDEEP, row.digests[0].algorithm, row.digests[0].hex, row.name);
  entry.moreDigests.assign(row.digests.begin() + 1, row.digests.end());
  return entry;
}

}  // namespace

void SumsLineReader::Take(const SumsFileLine& line, std::vector<SumsEntry>& entries) {
  ++lineNumber;
  if (block.lineNumber != 0 && !TakeInPowerShellBlock(line.text)) {
    FinishPowerShellBlock(entries);
  }
  if (block.lineNumber != 0) return;
  if (certutil.lineNumber != 0) {
    const Text hex = WithoutBlanks(line.text);
    SumsEntry entry = ProperEntry(SumsLineForm::CERTUTIL, certutil.algorithm, hex, certutil.name);
    entry.lineNumber = certutil.lineNumber;
    certutil = {};
    entries.push_back(entry);
    if (entry.form != SumsLineForm::MALFORMED) return;
  }
  if (line.tooLong) {
    SumsEntry entry;
    entry.lineNumber = lineNumber;
    entries.push_back(entry);
    return;
  }
  TakeText(line.text, entries);
}

void SumsLineReader::Finish(std::vector<SumsEntry>& entries) {
  if (block.lineNumber != 0) FinishPowerShellBlock(entries);
  if (certutil.lineNumber != 0) {
    SumsEntry entry;
    entry.lineNumber = certutil.lineNumber;
    entries.push_back(entry);
    certutil = {};
  }
}

void SumsLineReader::TakeText(const Text& text, std::vector<SumsEntry>& entries) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size() || text[i] == L'#' || text[i] == L';' ||
      text.compare(i, Text(CERTUTIL_CLOSING).size(), CERTUTIL_CLOSING) == 0 ||
      hashdeep.TakeHeaderLine(text)) {
    return;
  }
  SumsEntry entry;
  if (hashdeep.Started()) {
    entry = HashdeepEntry(hashdeep.ParseRow(text));
    entry.lineNumber = lineNumber;
    entries.push_back(entry);
    return;
  }
  std::vector<Text> fields;
  const bool csv = text.find(L',') != Text::npos && SplitCsv(text, fields);
  size_t columns[3];
  if (csv && FindCsvColumns(fields, columns)) {
    std::copy(columns, columns + 3, csvColumns);
    csvFieldCount = fields.size();
    return;
  }
  Text key, value;
  size_t valueColumn = 0;
  if (csv && csvFieldCount != 0) {
    entry = ParseCsvRecord(fields);
  } else if (SplitPowerShellField(text, key, value, valueColumn) && key == POWERSHELL_FIELDS[0]) {
    block.lineNumber = lineNumber;
    block.algorithm = value;
    return;
  } else if (ParseCertutilHeader(TrimmedBlanks(text), certutil.algorithm, certutil.name)) {
    certutil.lineNumber = lineNumber;
    return;
  } else {
    const bool escaped = text[i] == ESCAPE_MARK;
    size_t nameStart = 0;
    const NamedAlgorithm* algorithm = FindTag(text, escaped ? i + 1 : i, nameStart);
    entry = algorithm ? ParseTaggedRest(text.substr(nameStart), *algorithm, escaped)
                      : ParseUntagged(text, i);
  }
  // Only a line in no other form can be a digest alone.
  if (entry.form == SumsLineForm::MALFORMED && digestsAloneFor.algorithm) {
    entry = ProperEntry(SumsLineForm::DIGEST_ONLY, digestsAloneFor.algorithm,
                        DigestAlone(text, HexLength(*digestsAloneFor.algorithm)),
                        digestsAloneFor.fileName);
  }
  entry.lineNumber = lineNumber;
  entries.push_back(entry);
}

// "Hash : ..." and "Path : ..." fill the open block, and a line indented under one of them goes
// on with its value, as Format-List wraps a long one. False for any other line, which ends the
// block.
bool SumsLineReader::TakeInPowerShellBlock(const Text& text) {
  if (block.lastField && !text.empty() && IsBlank(text[0])) {
    size_t indent = 0;
    while (indent < text.size() && indent < block.valueColumn && IsBlank(text[indent])) ++indent;
    *block.lastField += text.substr(indent);
    return true;
  }
  Text key, value;
  size_t valueColumn = 0;
  if (!SplitPowerShellField(text, key, value, valueColumn)) return false;
  Text* field = key == POWERSHELL_FIELDS[1]   ? &block.hex
                : key == POWERSHELL_FIELDS[2] ? &block.name
                                              : nullptr;
  if (!field) return false;
  *field = value;
  block.lastField = field;
  block.valueColumn = valueColumn;
  return true;
}

void SumsLineReader::FinishPowerShellBlock(std::vector<SumsEntry>& entries) {
  SumsEntry entry = PowerShellEntry(block.algorithm, block.hex, block.name);
  entry.lineNumber = block.lineNumber;
  entries.push_back(entry);
  block = {};
}

SumsEntry SumsLineReader::ParseCsvRecord(const std::vector<Text>& fields) const {
  if (fields.size() != csvFieldCount) return {};
  return PowerShellEntry(fields[csvColumns[0]], fields[csvColumns[1]], fields[csvColumns[2]]);
}

SumsEntry SumsLineReader::ParseUntagged(const Text& text, size_t start) {
  if (untaggedForm != UntaggedForm::SFV) {
    const bool escaped = text[start] == ESCAPE_MARK;
    const size_t hexStart = escaped ? start + 1 : start;
    size_t i = hexStart;
    while (i < text.size() && IsHexDigit(text[i])) ++i;
    const Text hex = text.substr(hexStart, i - hexStart);
    if (IsDigestLength(hex.size()) && i + 1 < text.size() && IsBlank(text[i])) {
      // The form is settled by the first line that is whole in it.
      const bool marked = text[i + 1] == TEXT_MARK || text[i + 1] == BINARY_MARK;
      if (marked && untaggedForm != UntaggedForm::ONE_SEPARATOR) {
        return Settled(UntaggedForm::GNU, ProperEntry(SumsLineForm::GNU, nullptr, hex,
                                                      TakenName(text.substr(i + 2), escaped)));
      }
      if (untaggedForm != UntaggedForm::GNU) {
        return Settled(UntaggedForm::ONE_SEPARATOR,
                       ProperEntry(SumsLineForm::ONE_SEPARATOR, nullptr, hex,
                                   TakenName(text.substr(i + 1), escaped)));
      }
    }
  }
  if (untaggedForm != UntaggedForm::UNDECIDED && untaggedForm != UntaggedForm::SFV) return {};
  return Settled(UntaggedForm::SFV, ParseSfv(text));
}

SumsEntry SumsLineReader::Settled(UntaggedForm form, const SumsEntry& entry) {
  if (entry.form != SumsLineForm::MALFORMED) untaggedForm = form;
  return entry;
}

std::vector<SumsEntry> SumsFileEntries(const std::string& bytes) {
  std::vector<SumsEntry> entries;
  SumsLineReader reader;
  for (const SumsFileLine& line : SumsFileLines(bytes)) reader.Take(line, entries);
  reader.Finish(entries);
  return entries;
}
