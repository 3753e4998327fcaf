#include "cli/checksums_cli.h"

#include "cli/check_sums.h"
#include "cli/cli_options.h"
#include "cli/console.h"
#include "cli/list_digests.h"
#include "cli/progress_line.h"
#include "digest/register_digest_plugins.h"
#include "product_version.h"

namespace {

constexpr const wchar_t* USAGE[] = {
    L"Usage: checksums-cli [OPTION]... FILE...",
    L"  or:  checksums-cli --check [OPTION]... [SUMS-FILE]...",
    L"Prints checksums of each FILE ('-' is standard input), or checks the files that",
    L"sums files list against the checksums written beside them.",
    L"",
    L"  -a, --algorithm LIST  comma-separated list of crc32, md5, sha1, sha224, sha256,",
    L"                        sha384, sha512, sha3-224, sha3-256, sha3-384, sha3-512;",
    L"                        all eleven when not given",
    L"      --format FORMAT   report (the default), gnu ('HEX  NAME', needs one",
    L"                        algorithm) or bsd ('SHA256 (NAME) = HEX')",
    L"  -r, --recursive       hash every file below each folder given, sorted by name",
    L"      --files-from LIST hash the files LIST names too, one a line ('-': stdin)",
    L"      --progress        show a long file's progress even off a terminal",
    L"      --no-progress     never show it (by default: when stderr is a terminal)",
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

void WriteUsage(ConsoleStream stream) {
  for (const wchar_t* line : USAGE) WriteConsoleLine(stream, line);
}

int RefuseCommandLine(const Text& problem) {
  if (!problem.empty()) WriteErrorLine(problem);
  WriteUsage(ConsoleStream::ERRORS);
  return EXIT_CANNOT_PROCEED;
}

}  // namespace

void WriteErrorLine(const Text& message) {
  WriteConsoleLine(ConsoleStream::ERRORS, Text(PROGRAM_NAME) + L": " + message);
}

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
  if (!options.check && options.files.empty() && options.fileLists.empty()) {
    return RefuseCommandLine(Text());
  }

  RegisterDigestPlugins();
  ChooseProgress(options.progress);
  return options.check ? CheckSumsFiles(options) : ListDigests(options);
}
