#include "cli/checking/check_sums.h"

#include <algorithm>

#include "cli/checking/check_results.h"
#include "cli/console/console_lines.h"
#include "cli/console/exit_status.h"
#include "cli/inputs/file_digests.h"
#include "sums/algorithm_by_file_name.h"
#include "sums/entry_check.h"
#include "sums/sums_file_reader.h"
#include "sums/unreadable_reason.h"

namespace {

bool Contains(const AlgorithmList& list, const NamedAlgorithm* algorithm) {
  return std::find(list.begin(), list.end(), algorithm) != list.end();
}

class SumsFileCheck {
 public:
  SumsFileCheck(const CliOptions& options, const Text& sumsFile)
      : options(options),
        sumsFile(sumsFile),
        shownName(SumsFileDisplayName(sumsFile)),
        candidates(ChosenAlgorithms(options)),
        namedByFile(AlgorithmNamedBySumsFile(sumsFile)),
        results(options) {}

  void Take(const SumsEntry& entry) {
    const AlgorithmList algorithms = EntryAlgorithms(entry, candidates, namedByFile);
    if (algorithms.empty()) {
      ++results.tally.malformed;
      if (options.warn && !options.status) {
        WriteErrorLine(shownName + L": " + std::to_wstring(entry.lineNumber) +
                       L": improperly formatted checksum line");
      }
      return;
    }
    ++properLines;
    if (!waiting.empty() &&
        (waiting.front().entry.name != entry.name || waiting.size() == ENTRIES_READ_TOGETHER)) {
      CheckWaiting();
    }
    waiting.push_back({entry, algorithms});
  }

  int Finish() {
    CheckWaiting();
    if (properLines == 0) {
      WriteErrorLine(shownName + L": no properly formatted checksum lines found");
      return EXIT_CANNOT_PROCEED;
    }
    return results.Finish(shownName);
  }

 private:
  struct Waiting {
    SumsEntry entry;
    AlgorithmList algorithms;
  };

  void CheckWaiting() {
    if (waiting.empty()) return;
    AlgorithmList all;
    for (const Waiting& line : waiting) {
      for (const NamedAlgorithm* algorithm : line.algorithms) {
        if (!Contains(all, algorithm)) all.push_back(algorithm);
      }
    }
    const Text& name = waiting.front().entry.name;
    const NamedFileDigests file =
        ComputeListedFileDigests(sumsFile, waiting.front().entry, options.allowNetworkNames, all);
    for (const Waiting& line : waiting) {
      results.Judged(name, file.failure.failed
                               ? JudgeUnreadEntry(line.entry, line.algorithms, file.failure)
                               : JudgeEntry(line.entry, line.algorithms, all, file.digests));
    }
    waiting.clear();
  }

  const CliOptions& options;
  const Text sumsFile;
  const Text shownName;
  const AlgorithmList candidates;
  const NamedAlgorithm* const namedByFile;
  CheckResults results;
  std::vector<Waiting> waiting;
  size_t properLines = 0;
};

int CheckSumsFile(const CliOptions& options, const Text& sumsFile) {
  SumsFileReader reader;
  const Text shownName = SumsFileDisplayName(sumsFile);
  if (!reader.Open(sumsFile)) {
    WriteErrorLine(CannotReadMessage(shownName, reader.FailureReason()));
    return EXIT_CANNOT_PROCEED;
  }
  SumsFileCheck check(options, sumsFile);
  std::vector<SumsEntry> entries;
  while (reader.ReadEntries(entries)) {
    for (const SumsEntry& entry : entries) check.Take(entry);
    entries.clear();
  }
  const int status = check.Finish();
  if (reader.FailureReason().empty()) return status;
  WriteErrorLine(CannotReadMessage(shownName, reader.FailureReason()));
  return EXIT_CANNOT_PROCEED;
}

}  // namespace

int CheckSumsFiles(const CliOptions& options) {
  std::vector<Text> sumsFiles = options.files;
  if (sumsFiles.empty()) sumsFiles.push_back(STANDARD_INPUT_NAME);
  int status = EXIT_ALL_GOOD;
  for (const Text& sumsFile : sumsFiles) {
    status = std::max(status, CheckSumsFile(options, sumsFile));
  }
  return status;
}
