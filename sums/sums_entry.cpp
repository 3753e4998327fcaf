#include "sums/sums_entry.h"

#include "sums/hex_digits.h"

SumsEntry ProperEntry(SumsLineForm form, const NamedAlgorithm* algorithm, const Text& hex,
                      const Text& name) {
  SumsEntry entry;
  const bool digestFits = AllHexDigits(hex) && (algorithm ? hex.size() == HexLength(*algorithm)
                                                          : IsDigestLength(hex.size()));
  if (!digestFits || name.empty()) return entry;
  entry.form = form;
  entry.algorithm = algorithm;
  entry.hex = hex;
  entry.name = name;
  return entry;
}

Text LowerCaseHex(const Text& hex) {
  return LowerCaseAscii(hex);
}
