#include "sums/sums_line_reader.h"

#include "sums/hex_digits.h"
#include "sums/lines/bsd_lines.h"

namespace {

bool IsComment(const Text& text, size_t start) {
  return start == text.size() || text[start] == L'#' || text[start] == L';';
}

size_t FirstNonBlank(const Text& text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return start;
}

}  // namespace

// A line is offered to the recognisers in this order, and the first that takes it decides:
//   1. a multi-line entry still open: a PowerShell block or a gpg digest goes on or ends before
//      the line, a certutil header takes its digest (or, when the line holds none, is
//      malformed), a 7-Zip table's header takes its dashes (or is malformed);
//   2. a line over the length limit is malformed;
//   3. lines of no entry: comments, certutil's closing line, hashdeep's header lines;
//   4. after hashdeep's header every other line is a row, and in a 7-Zip table a row or the
//      summary's;
//   5. a line of comma-separated values: Export-Csv's header, or a record after it;
//   6. a line that opens a multi-line entry: PowerShell's "Algorithm : ...", certutil's header,
//      a 7-Zip table's header or "NAME: HEX HEX ..." as gpg writes it, before an sfv line could
//      take its last group for a CRC32;
//   7. a bsd line by its tag, else an untagged line; and, where the line is in no form so far
//      and the sums file is named after the file it checks, the digest alone.
void SumsLineReader::Take(const SumsFileLine& line, std::vector<SumsEntry>& entries) {
  ++lineNumber;
  if (powerShellList.TakeInBlock(line.text, entries)) return;
  if (gpg.TakeInEntry(line.text, entries)) return;
  if (certutil.TakeDigestLine(line.text, entries)) return;
  if (sevenZip.TakeDashes(line.text, entries)) return;
  SumsEntry entry;
  entry.lineNumber = lineNumber;
  const size_t start = FirstNonBlank(line.text);
  if (line.tooLong) {
    entries.push_back(entry);
    return;
  }
  if (TakeLineOfNoEntry(line.text, start)) return;
  const SevenZipTable::Line tableLine = sevenZip.TakeLine(line.text, entry);
  if (tableLine == SevenZipTable::Line::NO_ENTRY) return;
  if (tableLine == SevenZipTable::Line::ROW) {
    entry.lineNumber = lineNumber;
    entries.push_back(entry);
    return;
  }
  if (hashdeep.Started()) {
    entry = hashdeep.ReadRow(line.text);
  } else {
    const PowerShellCsv::Line csv = powerShellCsv.Take(line.text, entry);
    if (csv == PowerShellCsv::Line::HEADER) return;
    if (csv == PowerShellCsv::Line::OTHER) {
      if (powerShellList.TakeStart(line.text, lineNumber)) return;
      if (certutil.TakeHeader(line.text, lineNumber)) return;
      if (sevenZip.TakeHeader(line.text, lineNumber)) return;
      if (gpg.TakeStart(line.text, lineNumber)) return;
      entry = ReadSingleLine(line.text, start);
    }
    if (entry.form == SumsLineForm::MALFORMED && digestsAloneFor.algorithm) {
      entry = DigestAloneEntry(digestsAloneFor, line.text);
    }
  }
  entry.lineNumber = lineNumber;
  entries.push_back(entry);
}

void SumsLineReader::Finish(std::vector<SumsEntry>& entries) {
  powerShellList.Finish(entries);
  gpg.Finish(entries);
  certutil.Finish(entries);
  sevenZip.Finish(entries);
}

bool SumsLineReader::TakeLineOfNoEntry(const Text& text, size_t start) {
  return IsComment(text, start) || CertutilLines::IsClosingLine(text, start) ||
         hashdeep.TakeHeaderLine(text);
}

SumsEntry SumsLineReader::ReadSingleLine(const Text& text, size_t start) {
  SumsEntry entry;
  if (ReadTaggedLine(text, start, entry)) return entry;
  return untagged.Read(text, start);
}

std::vector<SumsEntry> SumsFileEntries(const std::string& bytes) {
  std::vector<SumsEntry> entries;
  SumsLineReader reader;
  for (const SumsFileLine& line : SumsFileLines(bytes)) reader.Take(line, entries);
  reader.Finish(entries);
  return entries;
}

std::vector<SumsEntry> ProperSumsFileEntries(const std::string& bytes) {
  std::vector<SumsEntry> proper;
  for (SumsEntry& entry : SumsFileEntries(bytes)) {
    if (entry.form != SumsLineForm::MALFORMED) proper.push_back(std::move(entry));
  }
  return proper;
}
