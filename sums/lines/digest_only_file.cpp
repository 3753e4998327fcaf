#include "sums/lines/digest_only_file.h"

#include "sums/folder_separator.h"
#include "sums/hex_digits.h"

namespace {

constexpr wchar_t BINARY_MARK[] = L"*";

}  // namespace

DigestOnlyFile DigestOnlyFileAt(const Text& path) {
  DigestOnlyFile file;
  const size_t dot = path.rfind(L'.');
  // NAME keeps the sums file's folder as it was written, and is never empty.
  if (dot == Text::npos || dot == 0 || IsFolderSeparator(path[dot - 1])) return file;
  file.algorithm = FindAlgorithmByName(path.substr(dot + 1));
  if (file.algorithm) file.fileName = path.substr(0, dot);
  return file;
}

Text DigestAlone(const Text& line, size_t hexLength) {
  const Text text = TrimmedBlanks(line);
  const Text hex = text.substr(0, hexLength);
  if (hex.size() != hexLength || !AllHexDigits(hex)) return Text();
  // The line was trimmed: what follows the digest, if anything, ends in the mark.
  const Text rest = text.substr(hexLength);
  const bool alone = rest.empty() || (IsBlank(rest[0]) && TrimmedBlanks(rest) == BINARY_MARK);
  return alone ? hex : Text();
}
