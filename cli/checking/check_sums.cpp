#include "cli/checking/check_sums.h"

#include <algorithm>
#include <deque>
#include <memory>

#include "cli/checking/check_results.h"
#include "cli/console/console_lines.h"
#include "cli/console/exit_status.h"
#include "cli/inputs/file_digests.h"
#include "sums/algorithm_by_file_name.h"
#include "sums/entry_check.h"
#include "sums/entry_group.h"
#include "sums/sums_file_reader.h"
#include "sums/unreadable_reason.h"

namespace {

// What is printed next, in the sums file's order: the entries read together from one file (being
// read by `job`, or refused), or the warning about a line in no known form.
struct Turn {
  EntryGroup group;
  std::unique_ptr<DigestJob> job;  // null for a warning or a refused name: decided already
  Text refusal;                    // why the file the entries name is not opened
  size_t malformedLine = 0;        // from 1, for a warning
};

class SumsFileCheck {
 public:
  SumsFileCheck(const CliOptions& options, const Text& sumsFile)
      : options(options),
        sumsFile(sumsFile),
        shownName(SumsFileDisplayName(sumsFile)),
        candidates(ChosenAlgorithms(options)),
        namedByFile(AlgorithmNamedBySumsFile(sumsFile)),
        results(options) {}

  void Take(SumsEntry& entry) {
    AlgorithmList algorithms = EntryAlgorithms(entry, candidates, namedByFile);
    if (algorithms.empty()) {
      ++results.tally.malformed;
      if (options.warn && !options.status) {
        turns.push_back({EntryGroup(), nullptr, {}, entry.lineNumber});
        WriteDecided();
      }
      return;
    }
    ++properLines;
    if (!open.Takes(entry)) StartOpenGroup();
    open.Add(std::move(entry), std::move(algorithms));
  }

  // Writes every turn started; the sums file is read on only after.
  void WriteStarted() {
    while (!turns.empty()) WriteFront();
  }

  int Finish() {
    StartOpenGroup();
    WriteStarted();
    if (properLines == 0) {
      WriteErrorLine(shownName + L": no properly formatted checksum lines found");
      return EXIT_CANNOT_PROCEED;
    }
    return results.Finish(shownName);
  }

 private:
  // The group is complete once a line names another file: its file is read from now on.
  void StartOpenGroup() {
    if (open.entries.empty()) return;
    const Text name = open.entries.front().name;
    ListedFileJob listed = StartListedFileDigests(
        sumsFile, open.entries.front(), options.allowNetworkNames, DigestChoices(open.algorithms));
    turns.push_back({std::move(open), std::move(listed.job), std::move(listed.refusal), 0});
    open = EntryGroup();
    // Standard input is read in its turn, before the sums file is read on, as it may be the same.
    if (name == STANDARD_INPUT_NAME) WriteStarted();
    WriteDecided();
  }

  // Writes the warnings that are next, and waits for the first file while too many are in flight.
  void WriteDecided() {
    while (!turns.empty() && (!turns.front().job || turns.size() > FILES_IN_FLIGHT)) WriteFront();
  }

  void WriteFront() {
    const Turn& turn = turns.front();
    if (turn.malformedLine == 0) {
      const NamedFileDigests file = turn.job ? FinishNamedFileDigests(*turn.job)
                                             : NamedFileDigests{{}, RefusalFailure(turn.refusal)};
      const Text& name = turn.group.entries.front().name;
      for (size_t i = 0; i < turn.group.entries.size(); ++i) {
        results.Judged(name, turn.group.Judge(i, file.failure, file.digests));
      }
    } else {
      WriteErrorLine(shownName + L": " + std::to_wstring(turn.malformedLine) +
                     L": improperly formatted checksum line");
    }
    turns.pop_front();
  }

  const CliOptions& options;
  const Text sumsFile;
  const Text shownName;
  const AlgorithmList candidates;
  const NamedAlgorithm* const namedByFile;
  CheckResults results;
  EntryGroup open;  // the entries naming the file of the last line, until a line names another
  std::deque<Turn> turns;
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
    for (SumsEntry& entry : entries) check.Take(entry);
    entries.clear();
    // A pipe's next piece may be long in coming: the lines before it are not held back for it.
    if (reader.Size() < 0) check.WriteStarted();
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
