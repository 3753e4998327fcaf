#include "cli/options/help_text.h"

#include <algorithm>

#include "sums/named_algorithms.h"
#include "cli/options/option_table.h"

namespace {

// Where the option's help starts on its line.
constexpr size_t HELP_COLUMN = 24;

constexpr const wchar_t* USAGE[] = {
    L"Usage: checksums-cli [OPTION]... [FILE]...",
    L"  or:  checksums-cli --check [OPTION]... [SUMS-FILE]...",
    L"  or:  checksums-cli --expect HEX [OPTION]... [FILE]...",
    L"  or:  checksums-cli --unlisted SUMS-FILE | --update SUMS-FILE",
    L"Prints checksums of each FILE, checks the files that sums files list against",
    L"the checksums written beside them, checks files against one checksum, or finds",
    L"(and adds to a sums file) the files beside it that it does not list.",
    L"With no FILE, or when FILE is -, reads standard input (not a terminal's).",
    L"",
};

constexpr wchar_t END_OF_OPTIONS_HELP[] = L"  --                    every later argument is a FILE";

constexpr const wchar_t* EXIT_STATUS[] = {
    L"",
    L"Exit status: 0 when every file was read (and matched), 1 when one could not be",
    L"read or did not match, 2 for a wrong command line, or a sums file that cannot",
    L"be read or has no line in a known form. --unlisted: 1 when some file is not",
    L"listed; --update: 1 when one could not be read, 2 when the sums file was left",
    L"as it was.",
};

// "  -a, --algorithm LIST", "      --format FORMAT".
Text NamesOf(const OptionRow& row) {
  Text names = row.shortName ? L"  -" + Text(1, row.shortName) + L", --" : Text(L"      --");
  names += row.longName;
  if (row.valueName) names += L" " + Text(row.valueName);
  return names;
}

Text WithAlgorithmNames(Text help) {
  const Text place = HELP_ALGORITHM_NAMES;
  const size_t at = help.find(place);
  if (at != Text::npos) help.replace(at, place.size(), AlgorithmNamesList());
  return help;
}

// The paragraph's words in lines that, after the help column, fit the help's width.
std::vector<Text> Wrapped(const Text& paragraph) {
  std::vector<Text> lines(1);
  for (size_t start = 0; start < paragraph.size();) {
    const size_t end = std::min(paragraph.find(L' ', start), paragraph.size());
    const Text word = paragraph.substr(start, end - start);
    Text& line = lines.back();
    if (line.empty()) {
      line = word;
    } else if (HELP_COLUMN + line.size() + 1 + word.size() > HELP_WIDTH) {
      lines.push_back(word);
    } else {
      line += L" " + word;
    }
    start = end + 1;
  }
  return lines;
}

// Beside each help line the names of one option: the row's own first, then those of the rows
// after it that its help tells of.
void AppendOption(std::span<const OptionRow> rows, size_t& next, std::vector<Text>& lines) {
  const std::vector<Text> help = Wrapped(WithAlgorithmNames(rows[next].help));
  std::vector<Text> names = {NamesOf(rows[next++])};
  while (next < rows.size() && !rows[next].help) names.push_back(NamesOf(rows[next++]));
  for (size_t i = 0; i < std::max(help.size(), names.size()); ++i) {
    Text line = i < names.size() ? names[i] : Text();
    if (i < help.size()) {
      line.resize(std::max(HELP_COLUMN, line.size() + 1), L' ');
      line += help[i];
    }
    lines.push_back(line);
  }
}

}  // namespace

std::vector<Text> HelpLines() {
  std::vector<Text> lines(std::begin(USAGE), std::end(USAGE));
  const std::span<const OptionRow> rows = OptionRows();
  for (size_t next = 0; next < rows.size();) AppendOption(rows, next, lines);
  lines.push_back(END_OF_OPTIONS_HELP);
  lines.insert(lines.end(), std::begin(EXIT_STATUS), std::end(EXIT_STATUS));
  return lines;
}
