#include "cli/checking/check_sums.h"

#include <algorithm>

#include "cli/checking/check_results.h"
#include "cli/console/exit_status.h"
#include "cli/console/console_lines.h"
#include "cli/checking/check_results.h"
#include "cli/inputs/file_digests.h"
#include "cli/sums_file/algorithm_by_file_name.h"
#include "cli/sums_file/sums_file_reader.h"

namespace {

// Lines naming one file in a row wait to be checked together, up to this many.
constexpr size_t LINES_READ_TOGETHER = 64;

bool Contains(const AlgorithmList& list, const CliAlgorithm* algorithm) {
  return std::find(list.begin(), list.end(), algorithm) != list.end();
}

class SumsFileCheck {
 public:
  SumsFileCheck(const CliOptions& options, const Text& sumsFile)
      : options(options),
        shownName(SumsFileDisplayName(sumsFile)),
        candidates(ChosenAlgorithms(options)),
        namedByFile(AlgorithmNamedBySumsFile(sumsFile)),
        results(options) {}

  void Take(const SumsEntry& entry) {
    const AlgorithmList algorithms = EntryAlgorithms(entry);
    if (entry.form == SumsLineForm::MALFORMED || algorithms.empty()) {
      ++results.tally.malformed;
      if (options.warn && !options.status) {
        WriteErrorLine(shownName + L": " + std::to_wstring(entry.lineNumber) +
                       L": improperly formatted checksum line");
      }
      return;
    }
    ++properLines;
    if (!waiting.empty() &&
        (waiting.front().entry.name != entry.name || waiting.size() == LINES_READ_TOGETHER)) {
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

  // The algorithms the entry may be in: the one it names; else those of its length, narrowed to
  // the one the sums file's name says when that is among them. Empty when none is allowed.
  AlgorithmList EntryAlgorithms(const SumsEntry& entry) const {
    if (!entry.moreDigests.empty()) {
      AlgorithmList allowed;
      for (const WrittenDigest& digest : AllowedDigests(entry)) allowed.push_back(digest.algorithm);
      return allowed;
    }
    if (entry.algorithm) {
      return Contains(candidates, entry.algorithm) ? AlgorithmList{entry.algorithm}
                                                   : AlgorithmList{};
    }
    const AlgorithmList fitting = AlgorithmsWithHexLength(candidates, entry.hex.size());
    if (namedByFile && Contains(fitting, namedByFile)) return {namedByFile};
    return fitting;
  }

  // The digests of a row that holds several (hashdeep's), in the algorithms -a allows: every one
  // of them must match.
  std::vector<WrittenDigest> AllowedDigests(const SumsEntry& entry) const {
    std::vector<WrittenDigest> allowed;
    if (Contains(candidates, entry.algorithm)) allowed.push_back({entry.algorithm, entry.hex});
    for (const WrittenDigest& digest : entry.moreDigests) {
      if (Contains(candidates, digest.algorithm)) allowed.push_back(digest);
    }
    return allowed;
  }

  const CliAlgorithm* Matched(const Waiting& line, const AlgorithmList& computed,
                              const std::vector<Text>& digests) const {
    if (!line.entry.moreDigests.empty()) {
      return EveryDigestMatching(AllowedDigests(line.entry), computed, digests);
    }
    return MatchingAlgorithm(line.algorithms, line.entry.hex, computed, digests);
  }

  void CheckWaiting() {
    if (waiting.empty()) return;
    AlgorithmList all;
    for (const Waiting& line : waiting) {
      for (const CliAlgorithm* algorithm : line.algorithms) {
        if (!Contains(all, algorithm)) all.push_back(algorithm);
      }
    }
    const Text& name = waiting.front().entry.name;
    const NamedFileDigests file = ComputeNamedFileDigests(name, all);
    for (const Waiting& line : waiting) {
      if (!file.failure.empty()) {
        results.Unreadable(name, file.failure);
      } else {
        results.Compared(name, Matched(line, all, file.digests));
      }
    }
    waiting.clear();
  }

  const CliOptions& options;
  const Text shownName;
  const AlgorithmList candidates;
  const CliAlgorithm* const namedByFile;
  CheckResults results;
  std::vector<Waiting> waiting;
  size_t properLines = 0;
};

int CheckSumsFile(const CliOptions& options, const Text& sumsFile) {
  SumsFileReader reader;
  if (!reader.Open(sumsFile)) {
    WriteErrorLine(reader.Failure());
    return EXIT_CANNOT_PROCEED;
  }
  SumsFileCheck check(options, sumsFile);
  std::vector<SumsEntry> entries;
  while (reader.ReadEntries(entries)) {
    for (const SumsEntry& entry : entries) check.Take(entry);
    entries.clear();
  }
  const int status = check.Finish();
  if (reader.Failure().empty()) return status;
  WriteErrorLine(reader.Failure());
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
