#include "verify/listing.h"

static_assert(ALGORITHM_COUNT <= 16, "an entry keeps its algorithms in 16 bits");

namespace {

uint8_t PlaceOf(const NamedAlgorithm* algorithm) {
  return static_cast<uint8_t>(algorithm - NAMED_ALGORITHMS);
}

}  // namespace

void Listing::Add(const SumsEntry& entry, const AlgorithmList& algorithms) {
  Packed packed{names.size(),
                digits.size(),
                entry.lineNumber,
                static_cast<uint32_t>(entry.name.size()),
                0,
                0,
                static_cast<uint8_t>(entry.hex.size()),
                entry.algorithm ? PlaceOf(entry.algorithm) : NONE,
                entry.form};
  for (const NamedAlgorithm* algorithm : algorithms) {
    packed.algorithms |= static_cast<uint16_t>(1u << PlaceOf(algorithm));
  }
  if (!entry.moreDigests.empty()) {
    moreDigests.push_back(entry.moreDigests);
    packed.more = static_cast<uint32_t>(moreDigests.size());
  }
  names.insert(names.end(), entry.name.begin(), entry.name.end());
  for (wchar_t digit : LowerCaseHex(entry.hex)) digits.push_back(static_cast<char>(digit));
  entries.push_back(packed);
}

Text Listing::Name(size_t index) const {
  const Packed& entry = entries[index];
  const auto from = names.begin() + static_cast<ptrdiff_t>(entry.nameAt);
  return Text(from, from + entry.nameLength);
}

Text Listing::Hex(size_t index) const {
  const Packed& entry = entries[index];
  const auto from = digits.begin() + static_cast<ptrdiff_t>(entry.hexAt);
  return Text(from, from + entry.hexLength);
}

AlgorithmList Listing::Algorithms(size_t index) const {
  AlgorithmList algorithms;
  for (size_t place = 0; place < ALGORITHM_COUNT; ++place) {
    if (entries[index].algorithms & (1u << place)) algorithms.push_back(&NAMED_ALGORITHMS[place]);
  }
  return algorithms;
}

SumsEntry Listing::Entry(size_t index) const {
  const Packed& packed = entries[index];
  SumsEntry entry;
  entry.form = packed.form;
  entry.lineNumber = packed.lineNumber;
  entry.algorithm = packed.named == NONE ? nullptr : &NAMED_ALGORITHMS[packed.named];
  entry.hex = Hex(index);
  entry.name = Name(index);
  if (packed.more != 0) entry.moreDigests = moreDigests[packed.more - 1];
  return entry;
}
