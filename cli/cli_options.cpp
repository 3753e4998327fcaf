#include "cli/cli_options.h"

#include <algorithm>

#include "cli/pasted_digest.h"

namespace {

constexpr wchar_t END_OF_OPTIONS[] = L"--";

enum class Option {
  ALGORITHM,
  FORMAT,
  TAG,
  ZERO,
  READING_MODE,
  CHECK,
  EXPECT,
  QUIET,
  STATUS,
  STRICT,
  WARN,
  IGNORE_MISSING,
  HELP,
  VERSION,
  RECURSIVE,
  FILES_FROM,
  PROGRESS,
  NO_PROGRESS
};

struct OptionName {
  Option option;
  wchar_t shortName;  // 0: long name only
  const wchar_t* longName;
  bool takesValue;
};

constexpr OptionName OPTION_NAMES[] = {
    {Option::ALGORITHM, L'a', L"algorithm", true},
    {Option::FORMAT, 0, L"format", true},
    {Option::TAG, 0, L"tag", false},
    {Option::ZERO, L'z', L"zero", false},
    // Files are always read as bytes: the usual tools' reading modes change nothing.
    {Option::READING_MODE, L'b', L"binary", false},
    {Option::READING_MODE, L't', L"text", false},
    {Option::CHECK, L'c', L"check", false},
    {Option::EXPECT, 0, L"expect", true},
    {Option::QUIET, 0, L"quiet", false},
    {Option::STATUS, 0, L"status", false},
    {Option::STRICT, 0, L"strict", false},
    {Option::WARN, L'w', L"warn", false},
    {Option::IGNORE_MISSING, 0, L"ignore-missing", false},
    {Option::HELP, L'h', L"help", false},
    {Option::VERSION, L'V', L"version", false},
    {Option::RECURSIVE, L'r', L"recursive", false},
    {Option::FILES_FROM, 0, L"files-from", true},
    {Option::PROGRESS, 0, L"progress", false},
    {Option::NO_PROGRESS, 0, L"no-progress", false},
};

const OptionName* FindShortOption(wchar_t name) {
  for (const OptionName& candidate : OPTION_NAMES) {
    if (candidate.shortName != 0 && candidate.shortName == name) return &candidate;
  }
  return nullptr;
}

const OptionName* FindLongOption(const Text& name) {
  for (const OptionName& candidate : OPTION_NAMES) {
    if (name == candidate.longName) return &candidate;
  }
  return nullptr;
}

// Walks the arguments once; an option that takes a value may take the next argument.
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<Text>& arguments) : arguments(arguments) {}

  CliOptions Read() {
    bool optionsEnded = false;
    for (next = 0; next < arguments.size();) {
      const Text& argument = arguments[next++];
      if (optionsEnded || argument.size() < 2 || argument[0] != L'-') {
        options.files.push_back(argument);
      } else if (argument == END_OF_OPTIONS) {
        optionsEnded = true;
      } else if (argument[1] == L'-') {
        ReadLongOption(argument);
      } else {
        ReadShortOptions(argument);
      }
    }
    CheckCombinations();
    return options;
  }

 private:
  // "--name", "--name=value" or "--name value".
  void ReadLongOption(const Text& argument) {
    const size_t equals = argument.find(L'=');
    const Text name = argument.substr(2, equals == Text::npos ? Text::npos : equals - 2);
    const OptionName* found = FindLongOption(name);
    if (!found || (!found->takesValue && equals != Text::npos)) {
      SetError(L"unknown option " + argument);
    } else if (!found->takesValue) {
      Apply(found->option, Text());
    } else if (equals != Text::npos) {
      Apply(found->option, argument.substr(equals + 1));
    } else {
      TakeNextAsValue(*found, L"--" + name);
    }
  }

  // "-c", "-ca LIST", "-caLIST": an option that takes a value ends the group.
  void ReadShortOptions(const Text& argument) {
    for (size_t k = 1; k < argument.size(); ++k) {
      const OptionName* found = FindShortOption(argument[k]);
      if (!found) {
        SetError(L"unknown option -" + Text(1, argument[k]));
        return;
      }
      if (!found->takesValue) {
        Apply(found->option, Text());
      } else if (k + 1 < argument.size()) {
        Apply(found->option, argument.substr(k + 1));
        return;
      } else {
        TakeNextAsValue(*found, L"-" + Text(1, argument[k]));
        return;
      }
    }
  }

  void TakeNextAsValue(const OptionName& option, const Text& spelled) {
    if (next == arguments.size()) {
      SetError(L"option " + spelled + L" needs a value");
      return;
    }
    Apply(option.option, arguments[next++]);
  }

  void Apply(Option option, const Text& value) {
    switch (option) {
      case Option::ALGORITHM:
        TakeAlgorithms(value);
        break;
      case Option::FORMAT:
        TakeFormat(value);
        break;
      case Option::TAG:
        formatGiven = true;
        options.format = OutputFormat::BSD;
        break;
      case Option::ZERO:
        options.zero = true;
        break;
      case Option::READING_MODE:
        break;
      case Option::CHECK:
        options.check = true;
        break;
      case Option::EXPECT:
        TakeExpected(value);
        break;
      case Option::QUIET:
        options.quiet = true;
        break;
      case Option::STATUS:
        options.status = true;
        break;
      case Option::STRICT:
        options.strict = true;
        break;
      case Option::WARN:
        options.warn = true;
        break;
      case Option::IGNORE_MISSING:
        options.ignoreMissing = true;
        break;
      case Option::HELP:
        options.help = true;
        break;
      case Option::VERSION:
        options.version = true;
        break;
      case Option::RECURSIVE:
        options.recursive = true;
        break;
      case Option::FILES_FROM:
        options.fileLists.push_back(value);
        break;
      case Option::PROGRESS:
        options.progress = ProgressShown::ALWAYS;
        break;
      case Option::NO_PROGRESS:
        options.progress = ProgressShown::NEVER;
        break;
    }
  }

  void TakeAlgorithms(const Text& list) {
    size_t start = 0;
    for (;;) {
      const size_t comma = std::min(list.find(L',', start), list.size());
      const Text name = list.substr(start, comma - start);
      const CliAlgorithm* algorithm = FindAlgorithmByName(name);
      if (!algorithm) {
        SetError(L"unknown algorithm '" + name + L"'; choose from " + AlgorithmNamesList());
        return;
      }
      AlgorithmList& chosen = options.algorithms;
      if (std::find(chosen.begin(), chosen.end(), algorithm) == chosen.end()) {
        chosen.push_back(algorithm);
      }
      if (comma == list.size()) return;
      start = comma + 1;
    }
  }

  void TakeFormat(const Text& name) {
    formatGiven = true;
    if (name == L"report") {
      options.format = OutputFormat::REPORT;
    } else if (name == L"gnu") {
      options.format = OutputFormat::GNU;
    } else if (name == L"bsd") {
      options.format = OutputFormat::BSD;
    } else {
      SetError(L"unknown format '" + name + L"'; choose from report, gnu, bsd");
    }
  }

  void TakeExpected(const Text& value) {
    expectGiven = true;
    PastedDigest digest;
    Text problem;
    if (!ReadPastedDigest(value, digest, problem)) SetError(L"--expect " + problem);
    options.expected = digest.hex;
    options.expectedAlgorithm = digest.algorithm;
  }

  // Options that only make sense together are checked once the whole line is read.
  void CheckCombinations() {
    const bool verifying = options.check || expectGiven;
    if (options.check && expectGiven) {
      SetError(L"--check and --expect exclude each other");
    } else if (verifying && (formatGiven || options.zero)) {
      SetError(L"--format, --tag and --zero are meaningful only when printing checksums");
    } else if (verifying && (options.recursive || !options.fileLists.empty())) {
      SetError(L"-r and --files-from are meaningful only when printing checksums");
    } else if (!verifying && (options.quiet || options.status || options.ignoreMissing)) {
      SetError(
          L"--quiet, --status and --ignore-missing are meaningful only with --check or "
          L"--expect");
    } else if (!options.check && (options.strict || options.warn)) {
      SetError(L"--strict and --warn are meaningful only with --check");
    } else if (options.format == OutputFormat::GNU && options.algorithms.size() != 1) {
      SetError(L"--format gnu needs exactly one algorithm, chosen with -a");
    } else if (options.expectedAlgorithm && !options.algorithms.empty() &&
               std::count(options.algorithms.begin(), options.algorithms.end(),
                          options.expectedAlgorithm) == 0) {
      SetError(L"--expect: " + Text(options.expectedAlgorithm->displayName) +
               L" is not among the algorithms chosen with -a");
    } else if (expectGiven && options.error.empty() &&
               AlgorithmsWithHexLength(ChosenAlgorithms(options), options.expected.size())
                   .empty()) {
      SetError(L"--expect: no algorithm chosen with -a has " +
               std::to_wstring(options.expected.size()) + L" hexadecimal digits");
    }
  }

  // The first problem found is the one reported.
  void SetError(const Text& error) {
    if (options.error.empty()) options.error = error;
  }

  const std::vector<Text>& arguments;
  size_t next = 0;
  CliOptions options;
  bool formatGiven = false;
  bool expectGiven = false;
};

}  // namespace

CliOptions ParseCliArguments(const std::vector<Text>& arguments) {
  return ArgumentReader(arguments).Read();
}

AlgorithmList ChosenAlgorithms(const CliOptions& options) {
  return options.algorithms.empty() ? AllAlgorithms() : options.algorithms;
}
