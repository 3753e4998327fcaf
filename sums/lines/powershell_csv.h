#pragma once
// Get-FileHash as Export-Csv writes it: maybe a "#TYPE ..." line (a comment), a header naming the
// columns "Algorithm", "Hash" and "Path" in any order among others, then a record a file. Fields
// may be in double quotes, with "" for a quote inside.
#include <cstddef>

#include "runtime/text.h"
#include "sums/sums_entry.h"

class PowerShellCsv {
 public:
  enum class Line { OTHER, HEADER, RECORD };

  // HEADER for a header, which is taken in; RECORD, with its entry (malformed when the fields do
  // not make one), for a line of comma-separated values after a header; else OTHER.
  Line Take(const Text& text, SumsEntry& entry);

 private:
  size_t columns[3] = {};  // where the header put Algorithm, Hash and Path
  size_t fieldCount = 0;   // the header's; 0 until a header was read
};
