#pragma once
// The form of a sums file someone wrote, read from its bytes, so that lines added to it take that
// form and every byte already there stays: its encoding (the byte-order mark stays where it is),
// its line end and whether the last line has one, its lines' form (gnu with ' ' or '*', one
// separator with a space or a tab, bsd as the usual tools or OpenSSL write it, or sfv), the
// algorithm of its digests, their case and the character between folders in its names. The last
// proper line decides, as the one written most recently.
#include <string>
#include <vector>

#include "runtime/text.h"
#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"

struct SumsFileForm {
  TextEncoding encoding = TextEncoding::UTF8;
  Text lineEnd = L"\n";
  bool lastLineEnded = true;  // an empty file counts as ended
  SumsLineForm lines = SumsLineForm::GNU;
  // What its digests are in: for bsd lines every algorithm its tags name, a line each for a file;
  // for other lines those the digests' length and the file's name allow, of which a check of a
  // listed file has to pick one when they are several.
  AlgorithmList algorithms;
  // What stands before the name and after it, as the last line writes them: gnu "HEX" then "  "
  // or " *"; one separator " " or a tab; sfv blanks before the digest; bsd "TAG (" or "TAG(" for
  // each algorithm, then ") = " or ")= ".
  std::vector<Text> beforeName;
  Text separator;
  bool upperCaseHex = false;
  wchar_t folderSeparator = L'/';
  Text failure;  // why lines cannot be added in its form; empty when they can
};

// `sumsFile` is the file's path, whose name may say the algorithm; `entries` are the proper
// entries `bytes` holds.
SumsFileForm ReadSumsFileForm(const Text& sumsFile, const std::string& bytes,
                              const std::vector<SumsEntry>& entries);

// The lines that list a file, `name` relative with '/' between folders, `digests` in the order of
// the form's algorithms (lower case).
std::vector<Text> LinesInForm(const SumsFileForm& form, const Text& name,
                              const std::vector<Text>& digests);

// The bytes that follow the file's own to add `lines`: a line end first when its last line has
// none, each line with the file's line end, in its encoding.
std::string BytesToAppend(const SumsFileForm& form, const std::vector<Text>& lines);
