#include "cli/check_results.h"

#include "cli/cli_errors.h"
#include "cli/console.h"
#include "cli/output_formats.h"

namespace {

Text Counted(int count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

}  // namespace

void CheckResults::Unreadable(const Text& name, const Text& failure) {
  if (options.ignoreMissing && name != STANDARD_INPUT_NAME && FileIsMissing(name)) return;
  ++tally.unreadable;
  if (options.status) return;
  WriteErrorLine(failure);
  WriteConsoleLine(ConsoleStream::OUTPUT, CheckResultLine(name, CheckOutcome::UNREADABLE));
}

void CheckResults::Compared(const Text& name, const CliAlgorithm* matched) {
  ++tally.read;
  if (!matched) ++tally.differed;
  if (options.status || (options.quiet && matched)) return;
  const CheckOutcome outcome = matched ? CheckOutcome::MATCHED : CheckOutcome::DIFFERED;
  WriteConsoleLine(ConsoleStream::OUTPUT,
                   CheckResultLine(name, outcome, nameMatched ? matched : nullptr));
}

int CheckResults::Finish(const Text& source) const {
  if (!options.status) {
    if (tally.malformed) {
      WriteErrorLine(L"WARNING: " + Counted(tally.malformed, L"line is improperly formatted",
                                            L"lines are improperly formatted"));
    }
    if (tally.unreadable) {
      WriteErrorLine(L"WARNING: " + Counted(tally.unreadable, L"listed file could not be read",
                                            L"listed files could not be read"));
    }
    if (tally.differed) {
      WriteErrorLine(L"WARNING: " + Counted(tally.differed, L"computed checksum did NOT match",
                                            L"computed checksums did NOT match"));
    }
    if (options.ignoreMissing && tally.read == 0) {
      WriteErrorLine(source + L": no file was verified");
    }
  }
  const bool failed = tally.differed || tally.unreadable || (options.strict && tally.malformed) ||
                      (options.ignoreMissing && tally.read == 0);
  return failed ? EXIT_SOME_FAILED : EXIT_ALL_GOOD;
}
