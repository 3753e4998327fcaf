#pragma once
// The table 7-Zip's h command prints, as copied from a console:
//   SHA256                                                              Size  Name
//   ---------------------------------------------------------------- -------------  ------------
//   BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD            3  abc.txt
//   ---------------------------------------------------------------- -------------  ------------
//   BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD            3
//
//   Size: 3
//   SHA256 for data:              BA7816BF...
// The dashes give the columns: a digest each (several with -scrc*), the size, then the name,
// which runs to the line's end. A row is checked in every column of an algorithm we have, as a
// hashdeep row is; a row with no digest is a folder and is passed over. After the closing dashes
// the totals and the summary lines are no entries.
#include <cstddef>
#include <utility>
#include <vector>

#include "runtime/text.h"
#include "sums/sums_entry.h"

class SevenZipTable {
 public:
  // True when `text` is a table's header, whose dashes must come next.
  bool TakeHeader(const Text& text, size_t lineNumber);
  // With a header waiting, true when `text` is its dashes; false, with the header appended as
  // malformed, when it is not, or when no header waits.
  bool TakeDashes(const Text& text, std::vector<SumsEntry>& entries);

  // The end of the file: a header still waiting is malformed.
  void Finish(std::vector<SumsEntry>& entries);

  enum class Line { OTHER, NO_ENTRY, ROW };
  // In a table: a row, its entry in `entry` (malformed when cut short), the closing dashes or a
  // line of the summary after them (NO_ENTRY); OTHER outside a table, or past its summary.
  Line TakeLine(const Text& text, SumsEntry& entry);

 private:
  enum class Stage { NONE, HEADER, ROWS, TOTALS, SUMMARY };
  using Span = std::pair<size_t, size_t>;  // [first, end) of a column

  // False for a folder's row, which holds no digest; else true, with the row's entry.
  bool ReadRow(const Text& text, SumsEntry& entry) const;
  bool IsDashes(const Text& text) const;
  void DropHeader(std::vector<SumsEntry>& entries);

  Stage stage = Stage::NONE;
  size_t headerLine = 0;
  std::vector<Text> names;     // the header's words: the algorithms, "Size", "Name"
  std::vector<size_t> starts;  // where each header word starts
  std::vector<Span> columns;   // from the dashes, one for each header word
  Text dashes;
};
