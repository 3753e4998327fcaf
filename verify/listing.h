#pragma once
// The entries a check lists, kept once for the run that checks them and the window that shows
// them, and packed: a sums file of a million lines is held in about a tenth of what as many
// separate entries would take. Written by the run before it is shared, then only read.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"

class Listing {
 public:
  // `algorithms` are those the entry may be in, each of the eleven once.
  void Add(const SumsEntry& entry, const AlgorithmList& algorithms);
  size_t Size() const { return entries.size(); }

  Text Name(size_t index) const;
  Text Hex(size_t index) const;  // lower case
  size_t LineNumber(size_t index) const { return entries[index].lineNumber; }
  AlgorithmList Algorithms(size_t index) const;
  bool HasMoreDigests(size_t index) const { return entries[index].more != 0; }
  // The entry as it was read, for judging: the digits lower case.
  SumsEntry Entry(size_t index) const;

 private:
  static constexpr uint8_t NONE = 0xFF;
  struct Packed {
    size_t nameAt;
    size_t hexAt;
    size_t lineNumber;
    uint32_t nameLength;
    uint32_t more;        // 1 + the index in `moreDigests`; 0 for none
    uint16_t algorithms;  // a bit each, in the table's order
    uint8_t hexLength;
    uint8_t named;  // the algorithm the entry names, by its place in the table; NONE
    SumsLineForm form;
  };
  // Deques: they grow without copying what they hold, which for a huge list would double it.
  std::deque<Packed> entries;
  std::deque<wchar_t> names;
  std::deque<char> digits;
  std::vector<std::vector<WrittenDigest>> moreDigests;
};
