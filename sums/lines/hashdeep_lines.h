#pragma once
// hashdeep's files: a "%%%% HASHDEEP-1.0" header, a "%%%% " line naming the columns
// ("size,md5,sha256,filename", or whichever hashdeep was asked for), "##" comment lines, then a
// row a file with its values in the columns' order, the name last and as it is, commas and all.
// The columns of the algorithms we have are read; the others (tiger, whirlpool, ...) are passed
// over, and so is "sha3", which names no size.
#include <vector>

#include "runtime/text.h"
#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"

struct HashdeepRow {
  std::vector<WrittenDigest> digests;  // the columns in our algorithms; empty: no proper row
  Text name;
};

class HashdeepColumns {
 public:
  // True for one of hashdeep's "%%%%" lines, which is taken in: the header starts the rows and
  // the column line says what their values are.
  bool TakeHeaderLine(const Text& text);
  // True once the header was read: every line that is not a comment is then a row.
  bool Started() const { return started; }
  HashdeepRow ParseRow(const Text& text) const;

 private:
  enum class Kind { SIZE, DIGEST, NAME };
  struct Column {
    Kind kind;
    const NamedAlgorithm* algorithm;  // a digest in an algorithm we have, or null
  };

  bool started = false;
  std::vector<Column> columns;  // empty until a proper column line: rows are then malformed
};
