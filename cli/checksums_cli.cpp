#include "cli/checksums_cli.h"

#include "cli/checking/check_sums.h"
#include "cli/console/exit_status.h"
#include "cli/options/command_line.h"
#include "cli/options/help_text.h"
#include "cli/console/console.h"
#include "cli/console/console_lines.h"
#include "cli/checking/expected_digest.h"
#include "cli/checking/sums_file_update.h"
#include "cli/listing/list_digests.h"
#include "cli/console/progress_line.h"
#include "cli/engine_benchmark.h"
#include "digest/register_digest_plugins.h"
#include "product_version.h"

namespace {

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
    for (const Text& line : HelpLines()) WriteConsoleLine(ConsoleStream::OUTPUT, line);
    return EXIT_ALL_GOOD;
  }
  if (options.version) {
    WriteConsoleLine(ConsoleStream::OUTPUT,
                     Text(PROGRAM_NAME) + L" (Calculate Checksums) " PRODUCT_VERSION);
    return EXIT_ALL_GOOD;
  }
  if (options.benchmark) {
    WriteEngineBenchmark(options.backends, options.files);
    return EXIT_ALL_GOOD;
  }
  if (!options.unlistedOf.empty()) return PrintUnlistedFiles(options);
  if (!options.updated.empty()) {
    RegisterDigestPlugins();
    return UpdateSumsFile(options);
  }
  // Waiting on the keyboard without a word would look like a hang; '-' asks for it.
  if (options.files.empty() && options.fileLists.empty()) {
    if (StandardInputIsTerminal()) {
      return RefuseCommandLine(L"no FILE given, and standard input is a terminal; '-' reads it");
    }
    options.files.push_back(STANDARD_INPUT_NAME);
  }

  RegisterDigestPlugins();
  UsePinnedBackends(options.backends);
  ChooseProgress(options.progress);
  if (options.check) return CheckSumsFiles(options);
  if (!options.expected.empty()) return CheckExpectedDigest(options);
  return ListDigests(options);
}
