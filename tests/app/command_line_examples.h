#pragma once
// Command lines with the arguments the program must see in them, shared by the direct test of
// the tokenizer and the test that starts a real process with each line.
#include <vector>

#include "runtime/text.h"

struct CommandLineExample {
  const wchar_t* name;
  Text commandLine;  // starts with any program name: the process is started by its real path
  std::vector<Text> arguments;
};

inline const std::vector<CommandLineExample>& CommandLineExamples() {
  static const std::vector<CommandLineExample> examples = {
      {L"ProgramNameAlone", L"checksums.exe", {}},
      {L"QuotedPathWithSpaces", L"checksums.exe \"C:\\My Files\\a.txt\"", {L"C:\\My Files\\a.txt"}},
      {L"UnquotedPathSplitsAtSpace",
       L"checksums.exe C:\\My Files\\a.txt",
       {L"C:\\My", L"Files\\a.txt"}},
      {L"QuotedProgramNameWithSpaces", L"\"C:\\Program Files\\checksums.exe\" x", {L"x"}},
      {L"TwoSpacesSeparateOnce", L"checksums.exe  a", {L"a"}},
      {L"TabBelongsToProgramName", L"checksums.exe\ta", {}},
      {L"EmptyQuotesAreAnArgument", L"checksums.exe \"\"", {L""}},
      {L"QuotedSectionInsideToken",
       L"checksums.exe C:\\\"My Files\"\\a.txt next",
       {L"C:\\My Files\\a.txt", L"next"}},
      {L"ClosingQuoteStartsNextToken", L"checksums.exe \"ab\"cd", {L"ab", L"cd"}},
      {L"UnclosedQuoteRunsToEnd", L"checksums.exe \"a b  c", {L"a b  c"}},
      {L"BackslashesArePlain", L"checksums.exe a\\\\\"b c\\\" d", {L"a\\\\b c\\", L"d"}},
      {L"TrailingSpaces", L"checksums.exe a   ", {L"a"}},
      {L"NonAsciiPath",
       L"checksums.exe \"C:\\D\u00e9j\u00e0 vu\\\u0444\u0430\u0439\u043b.bin\"",
       {L"C:\\D\u00e9j\u00e0 vu\\\u0444\u0430\u0439\u043b.bin"}},
  };
  return examples;
}
