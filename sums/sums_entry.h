#pragma once
// One entry of a sums file: the digest written for a listed file, the line form it was read in
// and the line it starts on. A line in no known form makes a MALFORMED entry, so that it is
// counted and named by its number, never dropped.
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "sums/named_algorithms.h"

enum class SumsLineForm {
  MALFORMED,
  GNU,
  ONE_SEPARATOR,
  BSD,
  SFV,
  CERTUTIL,
  POWERSHELL,
  HASHDEEP,
  DIGEST_ONLY,
  GPG,
  SEVEN_ZIP
};

// A digest written in the algorithm it names.
struct WrittenDigest {
  const NamedAlgorithm* algorithm;
  Text hex;
};

struct SumsEntry {
  SumsLineForm form = SumsLineForm::MALFORMED;
  size_t lineNumber = 0;                      // the line it starts on, counted from 1
  const NamedAlgorithm* algorithm = nullptr;  // named by the entry; null: told by the hex length
  Text hex;   // the digits as written, blanks between them taken out
  Text name;  // unescaped
  // A hashdeep row's further digests of the file, each of which must match too.
  std::vector<WrittenDigest> moreDigests;
};

// An entry of `form` when its parts make one: hex digits of the named algorithm's length (of
// some algorithm's, when none is named) and a name; else a malformed entry.
SumsEntry ProperEntry(SumsLineForm form, const NamedAlgorithm* algorithm, const Text& hex,
                      const Text& name);

// A digest as a sums line writes it and a check compares it: lower case.
Text LowerCaseHex(const Text& hex);
