#pragma once
// What gpg --print-md and --print-mds write:
//   NAME: HEX HEX ...            the digest in upper-case groups of 2, 4 or 8 digits
//   NAME: TAG = HEX HEX ...      --print-mds, a line an algorithm, the tag padded on the left
// A digest too long for the line goes on indented lines under it; a name too long for the line
// stands alone as "NAME: ", its digest on the lines after it. Lines of an algorithm we do not
// have (RMD160, ...) are passed over.
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "sums/sums_entry.h"

class GpgLines {
 public:
  // True when `text` opens an entry, which the next lines may go on with.
  bool TakeStart(const Text& text, size_t lineNumber);
  // With an entry open, true when `text` goes on with its digest; false when it ends the entry,
  // whose entry is then appended (none for an algorithm we lack), or when none is open.
  bool TakeInEntry(const Text& text, std::vector<SumsEntry>& entries);
  // The end of the file ends an open entry.
  void Finish(std::vector<SumsEntry>& entries);

 private:
  // The groups of `text` from `start`, maybe after "TAG = " when `tagAllowed`, added to the
  // entry's; false when the rest is not groups of the entry's size.
  bool TakeGroups(const Text& text, size_t start, bool tagAllowed);
  void End(std::vector<SumsEntry>& entries);

  size_t startLine = 0;  // 0: no entry open
  Text name, tag, hex;
  size_t groupSize = 0;
};
