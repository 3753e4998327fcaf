#pragma once
// The console companion's options, one row each: its names, the value it takes, what it sets and
// its help. The parser finds options here and the help is printed from here; a new option is one
// more row.
#include <span>

#include "cli/options/cli_options.h"
#include "runtime/text.h"

// The command line as it is being read: what the options set so far, and what the combinations
// checked at its end need to know.
struct OptionsBeingRead {
  CliOptions options;
  bool formatGiven = false;
  bool expectGiven = false;

  // The first problem found is the one reported.
  void Refuse(const Text& problem) {
    if (options.error.empty()) options.error = problem;
  }
};

// Sets what the option stands for; `value` is empty for an option that takes none.
using OptionAction = void (*)(OptionsBeingRead& reading, const Text& value);

struct OptionRow {
  wchar_t shortName;  // 0: long name only
  const wchar_t* longName;
  const wchar_t* valueName;  // as the help names the value ("LIST"); null: it takes none
  OptionAction apply;
  // One paragraph, wrapped to the help's width; HELP_ALGORITHM_NAMES stands for the algorithms'
  // names. Null: the option is listed under the row before, whose help tells of it.
  const wchar_t* help;
};

// Where a help text lists the algorithms, taken from their table.
inline constexpr wchar_t HELP_ALGORITHM_NAMES[] = L"{algorithms}";

std::span<const OptionRow> OptionRows();
