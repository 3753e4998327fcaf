#pragma once
// Get-FileHash as Format-List writes it: blocks of "Algorithm : TAG", "Hash : HEX" and
// "Path : NAME" lines, a long value wrapped onto indented lines under it.
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "sums/sums_entry.h"

class PowerShellList {
 public:
  // True when `text` is an "Algorithm" line, which opens a block.
  bool TakeStart(const Text& text, size_t lineNumber);
  // With a block open, true when `text` goes on with it; false when it ends the block, whose
  // entry is then appended, or when no block is open.
  bool TakeInBlock(const Text& text, std::vector<SumsEntry>& entries);
  // The end of the file ends an open block.
  void Finish(std::vector<SumsEntry>& entries);

 private:
  void EndBlock(std::vector<SumsEntry>& entries);

  size_t blockLine = 0;  // 0: no block open
  Text algorithm, hex, name;
  Text* lastField = nullptr;  // what an indented line continues
  size_t valueColumn = 0;
};

// "Key : value" as Format-List writes it, the key lower-cased; `valueColumn` is where the value
// starts. The CSV form of Get-FileHash (powershell_csv.h) names its columns with the same keys.
bool SplitPowerShellField(const Text& text, Text& key, Text& value, size_t& valueColumn);

// The entry of Get-FileHash's three values, or a malformed one.
SumsEntry PowerShellEntry(const Text& algorithmName, const Text& hex, const Text& name);

// Get-FileHash's keys, lower case.
inline constexpr const wchar_t* POWERSHELL_KEYS[] = {L"algorithm", L"hash", L"path"};
