#include "app/checksums_cli.h"

#include "app/report_table.h"
#include "digest/digest_file.h"
#include "digest/register_digest_plugins.h"

namespace {

constexpr wchar_t PROGRAM_NAME[] = L"checksums-cli";
constexpr wchar_t HELP_OPTION[] = L"--help";
constexpr wchar_t END_OF_OPTIONS[] = L"--";
constexpr wchar_t NOT_A_FILE_REASON[] = L"not a file";

constexpr int EXIT_ALL_REPORTED = 0;
constexpr int EXIT_UNREADABLE_FILE = 1;
constexpr int EXIT_WRONG_USAGE = 2;

void WriteUsage(ConsoleStream stream) {
  WriteConsoleLine(stream, Text(L"Usage: ") + PROGRAM_NAME + L" [--help] [--] FILE...");
  WriteConsoleLine(stream, L"Prints the CRC32, MD5, SHA-1, SHA-2 (224, 256, 384, 512) and SHA-3");
  WriteConsoleLine(stream, L"(224, 256, 384, 512) checksums of each FILE, then its path.");
  WriteConsoleLine(stream, L"Exit status: 0 when every file was read, 1 when one could not be");
  WriteConsoleLine(stream, L"read, 2 for a wrong command line.");
}

struct CommandLine {
  std::vector<Text> files;
  bool help = false;
  Text unknownOption;
};

// Options come before "--"; after it every argument is a file, even one starting with '-'.
CommandLine ParseArguments(const std::vector<Text>& arguments) {
  CommandLine commandLine;
  bool optionsEnded = false;
  for (const Text& argument : arguments) {
    if (optionsEnded || argument.size() < 2 || argument[0] != L'-') {
      commandLine.files.push_back(argument);
    } else if (argument == END_OF_OPTIONS) {
      optionsEnded = true;
    } else if (argument == HELP_OPTION) {
      commandLine.help = true;
    } else if (commandLine.unknownOption.empty()) {
      commandLine.unknownOption = argument;
    }
  }
  return commandLine;
}

bool AnyDigestMissing(const ReportDigests& digests) {
  for (const Text& digest : digests) {
    if (digest.empty()) return true;
  }
  return false;
}

void WriteReport(const Text& path, const ReportDigests& digests) {
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    WriteConsoleLine(ConsoleStream::OUTPUT, ReportLine(REPORT_ROWS[i], digests[i]));
  }
  WriteConsoleLine(ConsoleStream::OUTPUT, FILE_PATH_PREFIX + path);
}

// Reports one file, or says on standard error why it could not; false in that case.
bool ReportFile(const Text& path, bool separateFromPrevious) {
  Text reason = ReasonFileCannotBeOpened(path);
  ReportDigests digests;
  if (reason.empty()) {
    digests = ComputeReportDigests(path);
    // The file opened a moment ago, so an empty digest means a read failed on the way.
    if (AnyDigestMissing(digests)) reason = ReadFailureReason();
  }
  if (!reason.empty()) {
    WriteConsoleLine(ConsoleStream::ERRORS,
                     Text(PROGRAM_NAME) + L": cannot read " + path + L": " + reason);
    return false;
  }
  if (separateFromPrevious) WriteConsoleLine(ConsoleStream::OUTPUT, L"");
  WriteReport(path, digests);
  return true;
}

}  // namespace

Text ReasonFileCannotBeOpened(const Text& path) {
  DigestFile file;
  const FileOpening opening = file.Open(path);
  switch (opening.outcome) {
    case FileOpening::Outcome::OPENED:
      return Text();
    case FileOpening::Outcome::NOT_A_FILE:
      return NOT_A_FILE_REASON;
    case FileOpening::Outcome::SYSTEM_ERROR:
      break;
  }
  return SystemErrorMessage(opening.systemError);
}

int RunChecksumsCli(const std::vector<Text>& arguments) {
  const CommandLine commandLine = ParseArguments(arguments);
  if (!commandLine.unknownOption.empty()) {
    WriteConsoleLine(ConsoleStream::ERRORS,
                     Text(PROGRAM_NAME) + L": unknown option " + commandLine.unknownOption);
    WriteUsage(ConsoleStream::ERRORS);
    return EXIT_WRONG_USAGE;
  }
  if (commandLine.help) {
    WriteUsage(ConsoleStream::OUTPUT);
    return EXIT_ALL_REPORTED;
  }
  if (commandLine.files.empty()) {
    WriteUsage(ConsoleStream::ERRORS);
    return EXIT_WRONG_USAGE;
  }

  RegisterDigestPlugins();
  int status = EXIT_ALL_REPORTED;
  bool anyReported = false;
  for (const Text& path : commandLine.files) {
    if (ReportFile(path, anyReported)) {
      anyReported = true;
    } else {
      status = EXIT_UNREADABLE_FILE;
    }
  }
  return status;
}
