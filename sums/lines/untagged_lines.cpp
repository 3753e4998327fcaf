#include "sums/lines/untagged_lines.h"

#include "sums/hex_digits.h"
#include "sums/line_escapes.h"

namespace {

constexpr wchar_t BINARY_MARK = L'*';
constexpr wchar_t TEXT_MARK = L' ';

const NamedAlgorithm& Crc32Algorithm() {
  return *FindAlgorithmByName(L"crc32");
}

// The algorithm a prefix of the digest at `at` names, with the prefix's length; or null.
const NamedAlgorithm* DigestPrefixAlgorithm(const Text& text, size_t at, size_t& length) {
  const Text prefix = XXH3_DIGEST_PREFIX;
  if (text.compare(at, prefix.size(), prefix) != 0) return nullptr;
  length = prefix.size();
  return FindAlgorithmByName(L"xxh3");
}

// "NAME   CRC32".
SumsEntry ReadSfv(const Text& text) {
  const Text trimmed = TrimmedBlanks(text);
  size_t digits = trimmed.size();
  while (digits > 0 && !IsBlank(trimmed[digits - 1])) --digits;
  if (digits == 0 || trimmed.size() - digits != HexLength(Crc32Algorithm())) return {};
  return ProperEntry(SumsLineForm::SFV, &Crc32Algorithm(), trimmed.substr(digits),
                     TrimmedBlanks(trimmed.substr(0, digits)));
}

}  // namespace

SumsEntry UntaggedLines::Read(const Text& text, size_t start) {
  SumsEntry entry;
  if (form != Form::SFV && ReadHexFirst(text, start, entry)) return entry;
  if (form != Form::UNDECIDED && form != Form::SFV) return {};
  return Settled(Form::SFV, ReadSfv(text));
}

bool UntaggedLines::ReadHexFirst(const Text& text, size_t start, SumsEntry& entry) {
  const bool escaped = text[start] == ESCAPE_MARK;
  size_t hexStart = escaped ? start + 1 : start;
  size_t prefixLength = 0;
  const NamedAlgorithm* named = DigestPrefixAlgorithm(text, hexStart, prefixLength);
  hexStart += prefixLength;
  size_t i = hexStart;
  while (i < text.size() && IsHexDigit(text[i])) ++i;
  const Text hex = text.substr(hexStart, i - hexStart);
  const bool fits = named ? hex.size() == HexLength(*named) : IsDigestLength(hex.size());
  if (!fits || i + 1 >= text.size() || !IsBlank(text[i])) return false;
  const bool marked = text[i + 1] == TEXT_MARK || text[i + 1] == BINARY_MARK;
  if (marked && form != Form::ONE_SEPARATOR) {
    entry = Settled(Form::GNU, ProperEntry(SumsLineForm::GNU, named, hex,
                                           NameAsWritten(text.substr(i + 2), escaped)));
    return true;
  }
  if (form == Form::GNU) return false;
  entry = Settled(Form::ONE_SEPARATOR, ProperEntry(SumsLineForm::ONE_SEPARATOR, named, hex,
                                                   NameAsWritten(text.substr(i + 1), escaped)));
  return true;
}

SumsEntry UntaggedLines::Settled(Form settled, const SumsEntry& entry) {
  if (entry.form != SumsLineForm::MALFORMED) form = settled;
  return entry;
}
