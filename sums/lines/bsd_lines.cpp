#include "sums/lines/bsd_lines.h"

#include <string>

#include "sums/hex_digits.h"
#include "sums/line_escapes.h"

namespace {

// The algorithm whose tag (bsd or OpenSSL), an optional space and '(' start the text at `start`,
// or null; `after` is then where the name begins.
const NamedAlgorithm* FindTag(const Text& text, size_t start, size_t& after) {
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    for (const wchar_t* tag : {algorithm.bsdTag, algorithm.opensslTag}) {
      const size_t length = tag ? std::char_traits<wchar_t>::length(tag) : 0;
      if (!tag || text.compare(start, length, tag) != 0) continue;
      size_t i = start + length;
      if (i < text.size() && text[i] == L' ') ++i;
      if (i < text.size() && text[i] == L'(') {
        after = i + 1;
        return &algorithm;
      }
    }
  }
  return nullptr;
}

// What follows "TAG (".
SumsEntry ReadTaggedRest(const Text& rest, const NamedAlgorithm& algorithm, bool escaped) {
  const size_t close = rest.rfind(L')');
  if (close == Text::npos) return {};
  size_t i = close + 1;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  if (i == rest.size() || rest[i] != L'=') return {};
  ++i;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  return ProperEntry(SumsLineForm::BSD, &algorithm, rest.substr(i),
                     NameAsWritten(rest.substr(0, close), escaped));
}

}  // namespace

bool ReadTaggedLine(const Text& text, size_t start, SumsEntry& entry) {
  const bool escaped = text[start] == ESCAPE_MARK;
  size_t nameStart = 0;
  const NamedAlgorithm* algorithm = FindTag(text, escaped ? start + 1 : start, nameStart);
  if (!algorithm) return false;
  entry = ReadTaggedRest(text.substr(nameStart), *algorithm, escaped);
  return true;
}
