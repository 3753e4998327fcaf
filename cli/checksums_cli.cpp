#include "cli/checksums_cli.h"

#include "cli/check_sums.h"
#include "cli/cli_errors.h"
#include "cli/cli_options.h"
#include "cli/console.h"
#include "cli/list_digests.h"
#include "digest/register_digest_plugins.h"
#include "product_version.h"

namespace {

// Lines stay below 80 characters: the 80th would wrap onto an empty line in a console.
constexpr size_t HELP_WIDTH = 79;
constexpr wchar_t HELP_INDENT[] = L"                        ";
// Where the help lists the algorithms, taken from their table.
constexpr const wchar_t* ALGORITHM_LIST_PLACE = nullptr;

constexpr const wchar_t* USAGE[] = {
    L"Usage: checksums-cli [OPTION]... FILE...",
    L"  or:  checksums-cli --check [OPTION]... [SUMS-FILE]...",
    L"Prints checksums of each FILE ('-' is standard input), or checks the files that",
    L"sums files list against the checksums written beside them.",
    L"",
    ALGORITHM_LIST_PLACE,
    L"      --format FORMAT   report (the default), gnu ('HEX  NAME', needs one",
    L"                        algorithm) or bsd ('SHA256 (NAME) = HEX')",
    L"  -c, --check           read sums files in the gnu or bsd form and check each file",
    L"                        they list; no SUMS-FILE, or '-', reads standard input.",
    L"                        A gnu line's algorithm is the one of -a, or the only one",
    L"                        with its number of digits (crc32, md5, sha1)",
    L"      --quiet           when checking, print only failures",
    L"      --status          when checking, print nothing: the exit status tells",
    L"      --strict          when checking, a line in no known form fails the check",
    L"      --ignore-missing  when checking, pass over listed files that do not exist",
    L"      --help            print this help",
    L"      --version         print the version",
    L"  --                    every later argument is a FILE",
    L"",
    L"Exit status: 0 when every file was read (and matched), 1 when one could not be",
    L"read or did not match, 2 for a wrong command line or a sums file with no line",
    L"in a known form.",
};

// The -a option's lines: the names in words wrapped to the help's width.
void WriteAlgorithmOption(ConsoleStream stream) {
  Text line = L"  -a, --algorithm LIST  comma-separated list of";
  const Text words = AlgorithmNamesList() + L"; all eleven when not given";
  for (size_t start = 0; start < words.size();) {
    size_t end = words.find(L' ', start);
    if (end == Text::npos) end = words.size();
    const Text word = words.substr(start, end - start);
    if (line.size() + 1 + word.size() > HELP_WIDTH) {
      WriteConsoleLine(stream, line);
      line = HELP_INDENT + word;
    } else {
      line += L" " + word;
    }
    start = end + 1;
  }
  WriteConsoleLine(stream, line);
}

void WriteUsage(ConsoleStream stream) {
  for (const wchar_t* line : USAGE) {
    if (line == ALGORITHM_LIST_PLACE) {
      WriteAlgorithmOption(stream);
    } else {
      WriteConsoleLine(stream, line);
    }
  }
}

int RefuseCommandLine(const Text& problem) {
  if (!problem.empty()) WriteErrorLine(problem);
  WriteUsage(ConsoleStream::ERRORS);
  return EXIT_CANNOT_PROCEED;
}

}  // namespace

int RunChecksumsCli(const std::vector<Text>& arguments) {
  const CliOptions options = ParseCliArguments(arguments);
  if (!options.error.empty()) return RefuseCommandLine(options.error);
  if (options.help) {
    WriteUsage(ConsoleStream::OUTPUT);
    return EXIT_ALL_GOOD;
  }
  if (options.version) {
    WriteConsoleLine(ConsoleStream::OUTPUT,
                     Text(PROGRAM_NAME) + L" (Calculate Checksums) " PRODUCT_VERSION);
    return EXIT_ALL_GOOD;
  }
  // Printing needs a FILE: a bare command would wait on the terminal's input without a word.
  if (!options.check && options.files.empty()) return RefuseCommandLine(Text());

  RegisterDigestPlugins();
  return options.check ? CheckSumsFiles(options) : ListDigests(options);
}
