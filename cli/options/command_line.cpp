#include "cli/options/command_line.h"

#include <algorithm>

#include "cli/options/option_table.h"

namespace {

constexpr wchar_t END_OF_OPTIONS[] = L"--";

const OptionRow* FindShortOption(wchar_t name) {
  for (const OptionRow& row : OptionRows()) {
    if (row.shortName != 0 && row.shortName == name) return &row;
  }
  return nullptr;
}

const OptionRow* FindLongOption(const Text& name) {
  for (const OptionRow& row : OptionRows()) {
    if (name == row.longName) return &row;
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
        reading.options.files.push_back(argument);
      } else if (argument == END_OF_OPTIONS) {
        optionsEnded = true;
      } else if (argument[1] == L'-') {
        ReadLongOption(argument);
      } else {
        ReadShortOptions(argument);
      }
    }
    CheckCombinations();
    return reading.options;
  }

 private:
  // "--name", "--name=value" or "--name value".
  void ReadLongOption(const Text& argument) {
    const size_t equals = argument.find(L'=');
    const Text name = argument.substr(2, equals == Text::npos ? Text::npos : equals - 2);
    const OptionRow* found = FindLongOption(name);
    if (!found || (!found->valueName && equals != Text::npos)) {
      reading.Refuse(L"unknown option " + argument);
    } else if (!found->valueName) {
      found->apply(reading, Text());
    } else if (equals != Text::npos) {
      found->apply(reading, argument.substr(equals + 1));
    } else {
      TakeNextAsValue(*found, L"--" + name);
    }
  }

  // "-c", "-ca LIST", "-caLIST": an option that takes a value ends the group.
  void ReadShortOptions(const Text& argument) {
    for (size_t k = 1; k < argument.size(); ++k) {
      const OptionRow* found = FindShortOption(argument[k]);
      if (!found) {
        reading.Refuse(L"unknown option -" + Text(1, argument[k]));
        return;
      }
      if (!found->valueName) {
        found->apply(reading, Text());
      } else if (k + 1 < argument.size()) {
        found->apply(reading, argument.substr(k + 1));
        return;
      } else {
        TakeNextAsValue(*found, L"-" + Text(1, argument[k]));
        return;
      }
    }
  }

  void TakeNextAsValue(const OptionRow& option, const Text& spelled) {
    if (next == arguments.size()) {
      reading.Refuse(L"option " + spelled + L" needs a value");
      return;
    }
    option.apply(reading, arguments[next++]);
  }

  // Options that only make sense together are checked once the whole line is read.
  void CheckCombinations() {
    const CliOptions& options = reading.options;
    const bool expectGiven = reading.expectGiven;
    const bool verifying = options.check || expectGiven;
    const int sumsFileModes = !options.unlistedOf.empty() + !options.updated.empty();
    if (sumsFileModes > 0 &&
        (verifying || sumsFileModes > 1 || !options.files.empty() || !options.fileLists.empty() ||
         options.recursive || !options.algorithms.empty() || reading.formatGiven)) {
      reading.Refuse(L"--unlisted and --update take one sums file, and no other mode, FILE or -a");
    } else if (options.unlistedOf == STANDARD_INPUT_NAME ||
               options.updated == STANDARD_INPUT_NAME) {
      reading.Refuse(L"--unlisted and --update need a sums file, not standard input");
    } else if (options.check && expectGiven) {
      reading.Refuse(L"--check and --expect exclude each other");
    } else if (verifying && (reading.formatGiven || options.zero)) {
      reading.Refuse(L"--format, --tag and --zero are meaningful only when printing checksums");
    } else if (verifying && (options.recursive || !options.fileLists.empty())) {
      reading.Refuse(L"-r and --files-from are meaningful only when printing checksums");
    } else if (!verifying && (options.quiet || options.status || options.ignoreMissing)) {
      reading.Refuse(
          L"--quiet, --status and --ignore-missing are meaningful only with --check or "
          L"--expect");
    } else if (!options.check && (options.strict || options.warn)) {
      reading.Refuse(L"--strict and --warn are meaningful only with --check");
    } else if (!options.check && options.allowNetworkNames) {
      reading.Refuse(L"--allow-network-names is meaningful only with --check");
    } else if (options.format == OutputFormat::GNU && options.algorithms.size() != 1) {
      reading.Refuse(L"--format gnu needs exactly one algorithm, chosen with -a");
    } else if (options.expectedAlgorithm && !options.algorithms.empty() &&
               std::count(options.algorithms.begin(), options.algorithms.end(),
                          options.expectedAlgorithm) == 0) {
      reading.Refuse(L"--expect: " + Text(options.expectedAlgorithm->displayName) +
                     L" is not among the algorithms chosen with -a");
    } else if (expectGiven && options.error.empty() &&
               AlgorithmsWithHexLength(ChosenAlgorithms(options), options.expected.size())
                   .empty()) {
      reading.Refuse(L"--expect: no algorithm chosen with -a has " +
                     std::to_wstring(options.expected.size()) + L" hexadecimal digits");
    }
  }

  const std::vector<Text>& arguments;
  size_t next = 0;
  OptionsBeingRead reading;
};

}  // namespace

CliOptions ParseCliArguments(const std::vector<Text>& arguments) {
  return ArgumentReader(arguments).Read();
}

AlgorithmList ChosenAlgorithms(const CliOptions& options) {
  return options.algorithms.empty() ? AllAlgorithms() : options.algorithms;
}

AlgorithmList ListedAlgorithms(const CliOptions& options) {
  return options.algorithms.empty() ? ReportAlgorithms() : options.algorithms;
}
