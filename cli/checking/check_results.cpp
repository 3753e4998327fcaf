#include "cli/checking/check_results.h"

#include <algorithm>

#include "cli/console/exit_status.h"
#include "cli/console/console.h"
#include "cli/console/console_lines.h"
#include "cli/sums_file/line_escapes.h"

namespace {

Text Counted(int count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

}  // namespace

const CliAlgorithm* MatchingAlgorithm(const AlgorithmList& candidates, const Text& hex,
                                      const AlgorithmList& computed,
                                      const std::vector<Text>& digests) {
  const Text lower = LowerCaseAscii(hex);
  for (const CliAlgorithm* candidate : candidates) {
    const size_t index = std::find(computed.begin(), computed.end(), candidate) - computed.begin();
    if (index < digests.size() && digests[index] == lower) return candidate;
  }
  return nullptr;
}

const CliAlgorithm* EveryDigestMatching(const std::vector<WrittenDigest>& written,
                                        const AlgorithmList& computed,
                                        const std::vector<Text>& digests) {
  for (const WrittenDigest& digest : written) {
    if (!MatchingAlgorithm({digest.algorithm}, digest.hex, computed, digests)) return nullptr;
  }
  return written.empty() ? nullptr : written.front().algorithm;
}

Text CheckResultLine(const Text& name, CheckOutcome outcome, const CliAlgorithm* matched) {
  const WrittenName written = NameForCheckResult(name);
  const wchar_t* result = outcome == CheckOutcome::MATCHED    ? L": OK"
                          : outcome == CheckOutcome::DIFFERED ? L": FAILED"
                                                              : L": FAILED open or read";
  const Text which = matched ? L" (" + Text(matched->displayName) + L")" : Text();
  return written.LineStart() + written.text + result + which;
}

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
