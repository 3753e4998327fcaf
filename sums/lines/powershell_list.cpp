#include "sums/lines/powershell_list.h"

#include "sums/hex_digits.h"

bool PowerShellList::TakeStart(const Text& text, size_t lineNumber) {
  Text key, value;
  size_t column = 0;
  if (!SplitPowerShellField(text, key, value, column) || key != POWERSHELL_KEYS[0]) return false;
  blockLine = lineNumber;
  algorithm = value;
  return true;
}

// "Hash : ..." and "Path : ..." fill the open block, and a line indented under one of them goes
// on with its value, as Format-List wraps a long one.
bool PowerShellList::TakeInBlock(const Text& text, std::vector<SumsEntry>& entries) {
  if (blockLine == 0) return false;
  if (lastField && !text.empty() && IsBlank(text[0])) {
    size_t indent = 0;
    while (indent < text.size() && indent < valueColumn && IsBlank(text[indent])) ++indent;
    *lastField += text.substr(indent);
    return true;
  }
  Text key, value;
  size_t column = 0;
  Text* field = nullptr;
  if (SplitPowerShellField(text, key, value, column)) {
    field = key == POWERSHELL_KEYS[1] ? &hex : key == POWERSHELL_KEYS[2] ? &name : nullptr;
  }
  if (!field) {
    EndBlock(entries);
    return false;
  }
  *field = value;
  lastField = field;
  valueColumn = column;
  return true;
}

void PowerShellList::Finish(std::vector<SumsEntry>& entries) {
  if (blockLine != 0) EndBlock(entries);
}

void PowerShellList::EndBlock(std::vector<SumsEntry>& entries) {
  SumsEntry entry = PowerShellEntry(algorithm, hex, name);
  entry.lineNumber = blockLine;
  entries.push_back(entry);
  *this = PowerShellList();
}

bool SplitPowerShellField(const Text& text, Text& key, Text& value, size_t& valueColumn) {
  const size_t colon = text.find(L':');
  if (colon == Text::npos || colon + 1 >= text.size() || text[colon + 1] != L' ') return false;
  key = LowerCaseAscii(TrimmedBlanks(text.substr(0, colon)));
  valueColumn = colon + 2;
  value = text.substr(valueColumn);
  return true;
}

SumsEntry PowerShellEntry(const Text& algorithmName, const Text& hex, const Text& name) {
  const NamedAlgorithm* algorithm = FindAlgorithmByName(TrimmedBlanks(algorithmName));
  if (!algorithm) return {};
  return ProperEntry(SumsLineForm::POWERSHELL, algorithm, TrimmedBlanks(hex), TrimmedBlanks(name));
}
