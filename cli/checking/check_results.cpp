#include "cli/checking/check_results.h"

#include "cli/console/exit_status.h"
#include "cli/console/console_lines.h"
#include "sums/line_escapes.h"

namespace {

Text Counted(int count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

}  // namespace

Text CheckResultLine(const Text& name, CheckOutcome outcome, const NamedAlgorithm* matched) {
  const WrittenName written = NameForCheckResult(name);
  const wchar_t* result = outcome == CheckOutcome::MATCHED    ? L": OK"
                          : outcome == CheckOutcome::DIFFERED ? L": FAILED"
                                                              : L": FAILED open or read";
  const Text which = matched ? L" (" + Text(matched->displayName) + L")" : Text();
  return written.LineStart() + written.text + result + which;
}

void CheckResults::Unreadable(const Text& name, const FileFailure& failure) {
  if (options.ignoreMissing && name != STANDARD_INPUT_NAME && failure.missing) return;
  ++tally.unreadable;
  if (options.status) return;
  WriteErrorLine(CannotReadMessage(name, failure.reason));
  WriteConsoleLine(ConsoleStream::OUTPUT, CheckResultLine(name, CheckOutcome::UNREADABLE));
}

void CheckResults::Compared(const Text& name, const NamedAlgorithm* matched) {
  ++tally.read;
  if (!matched) ++tally.differed;
  if (options.status || (options.quiet && matched)) return;
  const CheckOutcome outcome = matched ? CheckOutcome::MATCHED : CheckOutcome::DIFFERED;
  WriteConsoleLine(ConsoleStream::OUTPUT,
                   CheckResultLine(name, outcome, nameMatched ? matched : nullptr));
}

void CheckResults::Judged(const Text& name, const EntryVerdict& verdict) {
  switch (verdict.status) {
    case EntryStatus::OK:
      return Compared(name, verdict.algorithm);
    case EntryStatus::FAILED:
      return Compared(name, nullptr);
    case EntryStatus::MISSING:
    case EntryStatus::UNREADABLE:
      break;
  }
  Unreadable(name, {true, verdict.status == EntryStatus::MISSING, verdict.reason});
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
