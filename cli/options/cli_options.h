#pragma once
// What the console companion's command line asks for, as its options set it.
#include <string>
#include <vector>

#include "sums/named_algorithms.h"
#include "sums/standard_input.h"
#include "runtime/text.h"

enum class OutputFormat { REPORT, GNU, BSD };

// When the progress line of a long file shows: by default only on a terminal.
enum class ProgressShown { AUTOMATIC, ALWAYS, NEVER };

// --backend ALG=NAME: the engine runs the algorithm's block function NAME, not the one it chose.
struct PinnedBackend {
  const NamedAlgorithm* algorithm;
  std::string name;  // one of the algorithm's backends that this processor runs
};

struct CliOptions {
  AlgorithmList algorithms;  // from -a, in the order given, without repeats; empty: all
  OutputFormat format = OutputFormat::REPORT;
  bool check = false;
  Text expected;  // --expect: the digest's hex digits alone; empty when not given
  const NamedAlgorithm* expectedAlgorithm =
      nullptr;  // named before them; null: told by their number
  bool quiet = false;
  bool status = false;
  bool strict = false;
  bool warn = false;
  bool ignoreMissing = false;
  Text unlistedOf;  // --unlisted: the sums file whose unlisted files are printed; empty if not
  Text updated;     // --update: the sums file that gets lines for them; empty if not given
  bool allowNetworkNames = false;  // --check opens listed names on a share (\\host\share\...)
  bool zero = false;               // output lines end in NUL, names unescaped
  bool help = false;
  bool version = false;
  bool benchmark = false;  // the engine's backends and their speeds; FILEs are only read
  std::vector<PinnedBackend> backends;  // in the order given: a later one of a shared list wins
  bool recursive = false;               // -r: a folder among the files stands for all below it
  std::vector<Text> fileLists;  // --files-from: more names, one a line ("-": standard input)
  ProgressShown progress = ProgressShown::AUTOMATIC;
  std::vector<Text> files;  // "-" is standard input
  Text error;               // a wrong command line, said in one line; empty when it is right
};
