#pragma once
// File names in sums lines and check results, escaped as the usual checksum tools escape them: a
// line whose name holds a line feed, a carriage return or a backslash starts with a backslash,
// and in its name those characters are written as \n, \r and \\. On Windows a backslash
// separates folders and cannot be in a name, so it is written as it is and asks for no escape.
#include "runtime/text.h"

constexpr wchar_t ESCAPE_MARK = L'\\';

struct WrittenName {
  bool escaped;  // the line starts with ESCAPE_MARK
  Text text;

  // What the line starts with: the mark, or nothing.
  Text LineStart() const { return escaped ? Text(1, ESCAPE_MARK) : Text(); }
};

// As a sums line writes the name.
WrittenName NameForSumsLine(const Text& name);

// As "NAME: OK" writes it: only a line feed, which would break the line, asks for the escape.
WrittenName NameForCheckResult(const Text& name);

// The name an escaped line stands for; false for a backslash that starts no known escape.
bool UnescapeName(const Text& escaped, Text& name);

// The name a line writes, unescaped when the line starts with ESCAPE_MARK; empty when it cannot
// be unescaped.
Text NameAsWritten(const Text& written, bool escaped);
