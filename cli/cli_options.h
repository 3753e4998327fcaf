#pragma once
// The console companion's command line, read the way the usual checksum tools read theirs:
// short options may be grouped (-ca sha256), long ones take their value after '=' or as the
// next argument, options and files may come in any order, and "--" ends the options.
#include <vector>

#include "cli/cli_algorithms.h"
#include "runtime/text.h"

// Stands for standard input where a file is named.
inline constexpr wchar_t STANDARD_INPUT_NAME[] = L"-";

enum class OutputFormat { REPORT, GNU, BSD };

// When the progress line of a long file shows: by default only on a terminal.
enum class ProgressShown { AUTOMATIC, ALWAYS, NEVER };

struct CliOptions {
  AlgorithmList algorithms;  // from -a, in the order given, without repeats; empty: all
  OutputFormat format = OutputFormat::REPORT;
  bool check = false;
  Text expected;  // --expect: the digest's hex digits alone; empty when not given
  const CliAlgorithm* expectedAlgorithm = nullptr;  // named before them; null: told by their number
  bool quiet = false;
  bool status = false;
  bool strict = false;
  bool warn = false;
  bool ignoreMissing = false;
  bool zero = false;  // output lines end in NUL, names unescaped
  bool help = false;
  bool version = false;
  bool recursive = false;       // -r: a folder among the files stands for all below it
  std::vector<Text> fileLists;  // --files-from: more names, one a line ("-": standard input)
  ProgressShown progress = ProgressShown::AUTOMATIC;
  std::vector<Text> files;  // "-" is standard input
  Text error;               // a wrong command line, said in one line; empty when it is right
};

CliOptions ParseCliArguments(const std::vector<Text>& arguments);

// The algorithms -a chose, or all eleven when it was not given.
AlgorithmList ChosenAlgorithms(const CliOptions& options);
