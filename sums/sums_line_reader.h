#pragma once
// The checksum lines of a sums file, in every form the usual tools write, each read by a
// recogniser of its own (sums/lines/):
//   gnu, one separator, sfv:  HEX  NAME, HEX NAME, NAME CRC32      (untagged_lines.h)
//   bsd:           TAG (NAME) = HEX, or TAG(NAME)= HEX              (bsd_lines.h)
//   certutil:      "TAG hash of NAME:", then HEX on the next line  (certutil_lines.h)
//   PowerShell:    Get-FileHash as a list or as Export-Csv writes it (powershell_list.h,
//                  powershell_csv.h)
//   hashdeep:      a row of size, digests and name after hashdeep's header (hashdeep_lines.h)
//   digest alone:  HEX, in a sums file named after the file it checks (digest_only_file.h)
//   gpg:           NAME: HEX HEX ..., upper case in groups, maybe wrapped (gpg_lines.h)
//   7-Zip:         the table of its h command, HEX  SIZE  NAME rows (seven_zip_table.h)
// Hex digits may be in either case. Empty lines, lines starting with '#' or ';' and certutil's
// closing line are comments. A line in no form makes a malformed entry.
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "sums/lines/certutil_lines.h"
#include "sums/lines/digest_only_file.h"
#include "sums/lines/gpg_lines.h"
#include "sums/lines/hashdeep_lines.h"
#include "sums/lines/powershell_csv.h"
#include "sums/lines/powershell_list.h"
#include "sums/lines/seven_zip_table.h"
#include "sums/lines/untagged_lines.h"
#include "sums/sums_entry.h"
#include "sums/sums_file_text.h"

class SumsLineReader {
 public:
  // Takes the file's next line; the entries it completes are appended to `entries` (nothing for
  // a comment or an empty line, or while a multi-line entry goes on).
  void Take(const SumsFileLine& line, std::vector<SumsEntry>& entries);
  // The end of the file completes what is still open.
  void Finish(std::vector<SumsEntry>& entries);
  // Lines that hold a digest alone check this file, in this algorithm (not read when null).
  void TakeDigestsAloneFor(const DigestOnlyFile& file) { digestsAloneFor = file; }

 private:
  bool TakeLineOfNoEntry(const Text& text, size_t start);
  SumsEntry ReadSingleLine(const Text& text, size_t start);

  size_t lineNumber = 0;
  PowerShellList powerShellList;
  CertutilLines certutil;
  GpgLines gpg;
  SevenZipTable sevenZip;
  HashdeepColumns hashdeep;
  PowerShellCsv powerShellCsv;
  UntaggedLines untagged;
  DigestOnlyFile digestsAloneFor;
};

// The entries of a whole sums file in memory.
std::vector<SumsEntry> SumsFileEntries(const std::string& bytes);
// Those in a known form.
std::vector<SumsEntry> ProperSumsFileEntries(const std::string& bytes);
