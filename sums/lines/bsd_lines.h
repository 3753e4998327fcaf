#pragma once
// Lines that name their algorithm before the file's name, as BSD tools and OpenSSL write them:
//   TAG (NAME) = HEX      (--tag: SHA256, SHA3-256, ...)
//   TAG(NAME)= HEX        (OpenSSL 3: SHA2-256, SHA256, ...)
// maybe after a backslash, which says the name is escaped (line_escapes.h). The name runs to the
// last ')', so that it may hold parentheses.
#include <cstddef>

#include "runtime/text.h"
#include "sums/sums_entry.h"

// False when no tag, an optional space and '(' start `text` at `start`; else true, with the
// line's entry, malformed when the rest is not "NAME) = HEX" in the tag's algorithm.
bool ReadTaggedLine(const Text& text, size_t start, SumsEntry& entry);
