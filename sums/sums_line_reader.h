#pragma once
// The checksum lines of a sums file, in every form the usual tools write:
//   gnu:           HEX, a blank, ' ' or '*' (the reading mode), NAME      (sha256sum)
//   one separator: HEX, one space or tab, NAME                            (md5 -r, HEX<TAB>NAME)
//   bsd:           TAG (NAME) = HEX, or TAG(NAME)= HEX                    (--tag, OpenSSL)
//   sfv:           NAME, blanks, eight hex digits of CRC32; ';' comments
//   certutil:      "TAG hash of NAME:", then HEX on the next line, bytes maybe spaced apart
//   PowerShell:    Get-FileHash as a list ("Algorithm : TAG", "Hash : HEX", "Path : NAME"
//                  blocks) or as Export-Csv writes it ("Algorithm","Hash","Path" header)
//   hashdeep:      a row of size, digests and name after hashdeep's header (hashdeep_lines.h)
//   digest alone:  HEX, in a sums file named after the file it checks (digest_only_file.h)
// gnu, one-separator and bsd lines may start with a backslash, which says the name is escaped
// (line_escapes.h). Hex digits may be in either case. Lines starting with '#' or ';', and
// certutil's closing line, are comments. As with the usual tools, the first line without a tag
// settles whether the file is in the gnu, one-separator or sfv form: "HEX  NAME" is a gnu line in
// a gnu file and the name " NAME" in a one-separator file.
#include <cstddef>
#include <vector>

#include "sums/lines/digest_only_file.h"
#include "sums/lines/hashdeep_lines.h"
#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"
#include "sums/sums_file_text.h"
#include "runtime/text.h"

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
  enum class UntaggedForm { UNDECIDED, GNU, ONE_SEPARATOR, SFV };
  struct PowerShellBlock {
    size_t lineNumber = 0;  // 0: no block open
    Text algorithm, hex, name;
    Text* lastField = nullptr;  // what an indented line continues
    size_t valueColumn = 0;
  };
  struct CertutilHeader {
    size_t lineNumber = 0;  // 0: none waiting for its digest
    const NamedAlgorithm* algorithm = nullptr;
    Text name;
  };

  void TakeText(const Text& text, std::vector<SumsEntry>& entries);
  bool TakeInPowerShellBlock(const Text& text);
  void FinishPowerShellBlock(std::vector<SumsEntry>& entries);
  SumsEntry ParseCsvRecord(const std::vector<Text>& fields) const;
  SumsEntry ParseUntagged(const Text& text, size_t start);
  SumsEntry Settled(UntaggedForm form, const SumsEntry& entry);

  size_t lineNumber = 0;
  UntaggedForm untaggedForm = UntaggedForm::UNDECIDED;
  PowerShellBlock block;
  CertutilHeader certutil;
  // Export-Csv: the columns of Algorithm, Hash and Path once its header was read, and how many.
  size_t csvColumns[3] = {};
  size_t csvFieldCount = 0;
  HashdeepColumns hashdeep;
  DigestOnlyFile digestsAloneFor;
};

// The entries of a whole sums file in memory.
std::vector<SumsEntry> SumsFileEntries(const std::string& bytes);
