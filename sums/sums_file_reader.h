#pragma once
// A sums file read piece by piece, "-" being standard input: only the piece and the line being
// cut are held, whatever the file's size.
#include <cstdint>
#include <vector>

#include "sums/sums_file_text.h"
#include "sums/sums_line_reader.h"
#include "digest/file/digest_file.h"
#include "runtime/text.h"

class SumsFileReader {
 public:
  // False when it cannot be opened; FailureReason() says why.
  bool Open(const Text& path);
  // The entries that the next piece of the file completes, maybe none; false once the file has
  // ended or a read failed (then FailureReason() says why).
  bool ReadEntries(std::vector<SumsEntry>& entries);
  // The system's words after "cannot read NAME: "; empty while nothing failed.
  const Text& FailureReason() const { return failure; }
  bool HeldBinary() const { return text.HeldBinary(); }
  uint64_t BytesRead() const { return bytesRead; }
  int64_t Size() const { return file.Size(); }  // -1 when unknown

 private:
  DigestFile file;
  Text path;
  SumsFileText text;
  SumsLineReader lines;
  std::vector<SumsFileLine> cut;
  bool ended = false;
  uint64_t bytesRead = 0;
  Text failure;
};

// The sums file as messages name it.
Text SumsFileDisplayName(const Text& path);
