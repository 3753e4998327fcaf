#include "cli/checksums_cli.h"

#include "cli/check_sums.h"
#include "cli/cli_errors.h"
#include "cli/cli_options.h"
#include "cli/console.h"
#include "cli/expected_digest.h"
#include "cli/list_digests.h"
#include "cli/progress_line.h"
#include "digest/register_digest_plugins.h"
#include "product_version.h"

namespace {

// Lines stay below 80 characters: the 80th would wrap onto an empty line in a console.
constexpr size_t HELP_WIDTH = 79;
constexpr wchar_t HELP_INDENT[] = L"                        ";
// Where the help lists the algorithms, taken from their table.
constexpr const wchar_t* ALGORITHM_LIST_PLACE = nullptr;

constexpr const wchar_t* USAGE[] = {
    L"Usage: checksums-cli [OPTION]... [FILE]...",
    L"  or:  checksums-cli --check [OPTION]... [SUMS-FILE]...",
    L"  or:  checksums-cli --expect HEX [OPTION]... [FILE]...",
    L"Prints checksums of each FILE, checks the files that sums files list against",
    L"the checksums written beside them, or checks files against one checksum.",
    L"With no FILE, or when FILE is -, reads standard input (not a terminal's).",
    L"",
    ALGORITHM_LIST_PLACE,
    L"                        (in any case; SHA256 and SHA-256 are names too)",
    L"      --format FORMAT   report (the default), gnu ('HEX  NAME', needs one",
    L"                        algorithm) or bsd ('SHA256 (NAME) = HEX')",
    L"      --tag             the same as --format bsd",
    L"  -z, --zero            end each output line with NUL, not a line end, and",
    L"                        write names unescaped",
    L"  -b, --binary          accepted and ignored, as is -t, --text: files are",
    L"  -t, --text            always read as bytes",
    L"  -r, --recursive       hash every file below each folder given, sorted by name",
    L"      --files-from LIST hash the files LIST names too, one a line ('-': stdin)",
    L"      --progress        show a long file's progress even off a terminal",
    L"      --no-progress     never show it (by default: when stderr is a terminal)",
    L"  -c, --check           read sums files and check each file they list. Lines",
    L"                        as the usual *sum tools, OpenSSL, SFV tools, certutil,",
    L"                        PowerShell's Get-FileHash (list or CSV) and hashdeep",
    L"                        write them, in UTF-8 or in UTF-16 with a byte-order",
    L"                        mark. A line without a tag is in the algorithm the",
    L"                        sums file's name says (SHA256SUMS, *.md5), else in",
    L"                        each one that -a allows with its number of digits.",
    L"                        NAME.sha256 (or another algorithm) holding a digest",
    L"                        alone checks NAME beside it",
    L"      --expect HEX      check each FILE against this checksum, computing",
    L"                        every algorithm with its number of digits; an OK",
    L"                        names the one that matched. Written as pages show",
    L"                        it: a name first decides (sha256:HEX, SHA-256 = HEX),",
    L"                        digits may be grouped by blanks or colons",
    L"      --quiet           when checking, print only failures",
    L"      --status          when checking, print nothing: the exit status tells",
    L"      --strict          with --check, a line in no known form fails the check",
    L"  -w, --warn            with --check, warn of each line in no known form",
    L"      --ignore-missing  when checking, pass over listed files that do not exist",
    L"  -h, --help            print this help",
    L"  -V, --version         print the version",
    L"  --                    every later argument is a FILE",
    L"",
    L"Exit status: 0 when every file was read (and matched), 1 when one could not be",
    L"read or did not match, 2 for a wrong command line, or a sums file that cannot",
    L"be read or has no line in a known form.",
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

// One line says what is wrong, one where to learn more, as the usual tools do.
int RefuseCommandLine(const Text& problem) {
  WriteErrorLine(problem);
  WriteConsoleLine(ConsoleStream::ERRORS,
                   L"Try '" + Text(PROGRAM_NAME) + L" --help' for more information.");
  return EXIT_CANNOT_PROCEED;
}

}  // namespace

int RunChecksumsCli(const std::vector<Text>& arguments) {
  CliOptions options = ParseCliArguments(arguments);
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
  // Waiting on the keyboard without a word would look like a hang; '-' asks for it.
  if (options.files.empty() && options.fileLists.empty()) {
    if (StandardInputIsTerminal()) {
      return RefuseCommandLine(L"no FILE given, and standard input is a terminal; '-' reads it");
    }
    options.files.push_back(STANDARD_INPUT_NAME);
  }

  RegisterDigestPlugins();
  ChooseProgress(options.progress);
  if (options.check) return CheckSumsFiles(options);
  if (!options.expected.empty()) return CheckExpectedDigest(options);
  return ListDigests(options);
}
