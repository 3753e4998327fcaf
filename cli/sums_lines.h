#pragma once
// Lines of a sums file in the two forms the usual checksum tools write:
//   gnu: HEX, a space or tab, a space or '*' (binary mark), NAME
//   bsd: TAG (NAME) = HEX
// Either may start with a backslash, which says the name is escaped (name_escaping.h). Hex
// digits may be upper or lower case. A line starting with '#' is a comment.
#include <string>
#include <vector>

#include "cli/cli_algorithms.h"
#include "runtime/text.h"

enum class SumsLineForm { COMMENT_OR_EMPTY, MALFORMED, GNU, BSD };

struct SumsLine {
  SumsLineForm form = SumsLineForm::MALFORMED;
  const CliAlgorithm* algorithm = nullptr;  // bsd: named by the tag; gnu: left to the caller
  Text hex;                                 // as written
  Text name;                                // unescaped
};

// The lines of a sums file: UTF-8 after an optional byte-order mark (a name that is not UTF-8
// keeps its bytes, text.h), each ended by LF or by the CRLF of Windows; the last needs no end.
std::vector<Text> SumsFileLines(const std::string& bytes);

SumsLine ParseSumsLine(const Text& line);

// A digest as a sums line writes it and a check compares it: lower case.
Text LowerCaseHex(const Text& hex);
