#include "sums/pasted_digest.h"

#include <algorithm>
#include <vector>

#include "sums/hex_digits.h"

namespace {

constexpr wchar_t GROUP_SEPARATOR = L':';
constexpr wchar_t NAME_ENDS[] = L":=";

// "ab cd:ef": the digits of groups parted by blanks, or by one colon with blanks maybe around it;
// false for anything else.
bool ReadHexGroups(const Text& text, Text& hex) {
  bool colonOpen = false;  // a colon waits for the group after it
  for (wchar_t character : text) {
    if (IsHexDigit(character)) {
      hex += character;
      colonOpen = false;
    } else if (character == GROUP_SEPARATOR && !hex.empty() && !colonOpen) {
      colonOpen = true;
    } else if (!IsBlank(character)) {
      return false;
    }
  }
  return !hex.empty() && !colonOpen;
}

// "8, 32, 40, 56, 64, 96 or 128", from the algorithms' table.
Text DigestLengthsInWords() {
  std::vector<size_t> lengths;
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) lengths.push_back(HexLength(algorithm));
  std::sort(lengths.begin(), lengths.end());
  lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
  Text words;
  for (size_t k = 0; k < lengths.size(); ++k) {
    if (k > 0) words += k + 1 == lengths.size() ? L" or " : L", ";
    words += std::to_wstring(lengths[k]);
  }
  return words;
}

}  // namespace

bool ReadPastedDigest(const Text& text, PastedDigest& digest, Text& problem) {
  digest = {};
  // A name of hex digits alone (BLAKE3's "b3") is taken for the first group of a digest parted
  // by colons, "b3:5f:...": only a name with another character names an algorithm here.
  const size_t nameEnd = text.find_first_of(NAME_ENDS);
  if (nameEnd != Text::npos) {
    const Text name = TrimmedBlanks(text.substr(0, nameEnd));
    if (!std::all_of(name.begin(), name.end(), IsHexDigit))
      digest.algorithm = FindAlgorithmByName(name);
  }
  const Text digits = digest.algorithm ? text.substr(nameEnd + 1) : text;
  const Text quoted = L"'" + text + L"' is no ";
  const bool grouped = ReadHexGroups(digits, digest.hex);
  if (grouped && digest.algorithm && digest.hex.size() != HexLength(*digest.algorithm)) {
    problem = quoted + digest.algorithm->displayName + L" digest: it needs " +
              std::to_wstring(HexLength(*digest.algorithm)) + L" hexadecimal digits";
    return false;
  }
  if (!grouped || AlgorithmsWithHexLength(AllAlgorithms(), digest.hex.size()).empty()) {
    problem = quoted + L"digest: it needs " + DigestLengthsInWords() +
              L" hexadecimal digits, maybe after a name (sha256:)";
    return false;
  }
  return true;
}
