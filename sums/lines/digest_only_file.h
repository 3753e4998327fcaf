#pragma once
// The digest file that many downloads come with: NAME.EXT beside the file NAME, EXT naming the
// algorithm in any case (setup.iso.sha256, setup.iso.SHA3-256), its line holding the digest
// alone. A blank with a reading mode mark ('*' or ' ') and no name may follow, as a sums line
// whose name was cut off writes it.
#include "sums/named_algorithms.h"
#include "runtime/text.h"

struct DigestOnlyFile {
  const NamedAlgorithm* algorithm = nullptr;  // the one EXT names; null: no such sums file name
  Text fileName;                              // NAME, in the sums file's folder
};

// What a sums file at `path` checks when its lines hold a digest alone.
DigestOnlyFile DigestOnlyFileAt(const Text& path);

// The digest of a line that holds only a digest of `hexLength` digits; else the empty text.
Text DigestAlone(const Text& line, size_t hexLength);
