#pragma once
// What certutil -hashfile writes: "TAG hash of NAME:", the digest on the next line (its bytes
// maybe spaced apart), then a closing line "CertUtil: ... completed successfully.", which is a
// comment.
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "sums/sums_entry.h"

class CertutilLines {
 public:
  // True for certutil's closing line; `start` is where its first character that is no blank is.
  static bool IsClosingLine(const Text& text, size_t start);

  // True when `text` is a header, which then waits for its digest on the next line.
  bool TakeHeader(const Text& text, size_t lineNumber);
  // With a header waiting, its entry is appended, with the digest that `text` holds or malformed,
  // and true is returned when the line was the digest; false when no header waits or the line
  // is to be read on its own.
  bool TakeDigestLine(const Text& text, std::vector<SumsEntry>& entries);
  // The end of the file: a header still waiting is malformed.
  void Finish(std::vector<SumsEntry>& entries);

 private:
  size_t headerLine = 0;  // 0: no header waits for its digest
  const NamedAlgorithm* algorithm = nullptr;
  Text name;
};
