#include "cli/check_sums.h"

#include <algorithm>
#include <map>

#include "cli/checksums_cli.h"
#include "cli/console.h"
#include "cli/unreadable_reason.h"
#include "cli/named_file_digests.h"
#include "cli/output_formats.h"
#include "cli/sums_lines.h"
#include "digest/file/digest_file.h"

namespace {

struct Tally {
  int malformed = 0;
  int unreadable = 0;
  int differed = 0;
  int read = 0;
};

Text DisplayName(const Text& sumsFile) {
  return sumsFile == STANDARD_INPUT_NAME ? Text(L"standard input") : sumsFile;
}

// The whole sums file; false, with the reason said, when it cannot be read.
bool ReadSumsFile(const Text& sumsFile, std::string& bytes) {
  bool read = false;
  if (sumsFile == STANDARD_INPUT_NAME) {
    read = ReadStandardInput(bytes);
  } else {
    DigestFile file;
    if (file.OpenAnyReadable(sumsFile).Opened()) {
      char piece[65536];
      int64_t got;
      while ((got = file.Read(reinterpret_cast<uint8_t*>(piece), sizeof piece)) > 0) {
        bytes.append(piece, static_cast<size_t>(got));
      }
      read = got == 0;
    }
  }
  if (read) return true;
  Text reason = sumsFile == STANDARD_INPUT_NAME ? Text() : ReasonFileCannotBeOpened(sumsFile);
  if (reason.empty()) reason = ReadFailureReason();
  WriteErrorLine(L"cannot read " + DisplayName(sumsFile) + L": " + reason);
  return false;
}

bool Contains(const AlgorithmList& list, const CliAlgorithm* algorithm) {
  return std::find(list.begin(), list.end(), algorithm) != list.end();
}

Text JoinedNames(const AlgorithmList& algorithms) {
  Text names;
  for (const CliAlgorithm* algorithm : algorithms) {
    names += (names.empty() ? L"" : L" and ") + Text(algorithm->name);
  }
  return names;
}

// The lines in a known form, each with its algorithm; a gnu line takes the one candidate with
// its number of digits. False when a gnu line fits two candidates: the file is refused whole
// rather than checked by a guess.
bool ProperLines(const std::vector<Text>& texts, const Text& sumsFile,
                 const AlgorithmList& candidates, std::vector<SumsLine>& proper, Tally& tally) {
  for (size_t number = 1; number <= texts.size(); ++number) {
    SumsLine line = ParseSumsLine(texts[number - 1]);
    if (line.form == SumsLineForm::COMMENT_OR_EMPTY) continue;
    if (line.form == SumsLineForm::GNU) {
      const AlgorithmList fitting = AlgorithmsWithHexLength(candidates, line.hex.size());
      if (fitting.size() > 1) {
        WriteErrorLine(DisplayName(sumsFile) + L":" + std::to_wstring(number) + L": " +
                       std::to_wstring(line.hex.size()) + L" hex digits fit both " +
                       JoinedNames(fitting) + L"; choose one with -a");
        return false;
      }
      line.algorithm = fitting.empty() ? nullptr : fitting.front();
    }
    if (line.form == SumsLineForm::MALFORMED || !Contains(candidates, line.algorithm)) {
      ++tally.malformed;
    } else {
      proper.push_back(line);
    }
  }
  return true;
}

// Every algorithm the lines ask of each listed file, so that each is read once.
std::map<Text, AlgorithmList> AlgorithmsByName(const std::vector<SumsLine>& lines) {
  std::map<Text, AlgorithmList> needed;
  for (const SumsLine& line : lines) {
    AlgorithmList& list = needed[line.name];
    if (!Contains(list, line.algorithm)) list.push_back(line.algorithm);
  }
  return needed;
}

void WriteResult(const CliOptions& options, const Text& name, CheckOutcome outcome) {
  if (options.status || (options.quiet && outcome == CheckOutcome::MATCHED)) return;
  WriteConsoleLine(ConsoleStream::OUTPUT, CheckResultLine(name, outcome));
}

void CheckLines(const CliOptions& options, const std::vector<SumsLine>& lines, Tally& tally) {
  const std::map<Text, AlgorithmList> needed = AlgorithmsByName(lines);
  std::map<Text, NamedFileDigests> computed;
  for (const SumsLine& line : lines) {
    const AlgorithmList& algorithms = needed.at(line.name);
    auto found = computed.find(line.name);
    if (found == computed.end()) {
      found = computed.emplace(line.name, ComputeNamedFileDigests(line.name, algorithms)).first;
    }
    const NamedFileDigests& file = found->second;
    if (!file.failure.empty()) {
      if (options.ignoreMissing && line.name != STANDARD_INPUT_NAME && FileIsMissing(line.name)) {
        continue;
      }
      ++tally.unreadable;
      if (!options.status) WriteErrorLine(file.failure);
      WriteResult(options, line.name, CheckOutcome::UNREADABLE);
      continue;
    }
    ++tally.read;
    const size_t index =
        std::find(algorithms.begin(), algorithms.end(), line.algorithm) - algorithms.begin();
    const bool matched = LowerCaseHex(line.hex) == file.digests[index];
    if (!matched) ++tally.differed;
    WriteResult(options, line.name, matched ? CheckOutcome::MATCHED : CheckOutcome::DIFFERED);
  }
}

Text Counted(int count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

void WriteSummary(const CliOptions& options, const Text& sumsFile, const Tally& tally) {
  if (options.status) return;
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
    WriteErrorLine(DisplayName(sumsFile) + L": no file was verified");
  }
}

int CheckSumsFile(const CliOptions& options, const Text& sumsFile) {
  std::string bytes;
  if (!ReadSumsFile(sumsFile, bytes)) return EXIT_SOME_FAILED;
  const AlgorithmList candidates =
      options.algorithms.empty() ? AllAlgorithms() : options.algorithms;
  std::vector<SumsLine> lines;
  Tally tally;
  if (!ProperLines(SumsFileLines(bytes), sumsFile, candidates, lines, tally)) {
    return EXIT_CANNOT_PROCEED;
  }
  if (lines.empty()) {
    WriteErrorLine(DisplayName(sumsFile) + L": no properly formatted checksum lines found");
    return EXIT_CANNOT_PROCEED;
  }
  CheckLines(options, lines, tally);
  WriteSummary(options, sumsFile, tally);
  const bool failed = tally.differed || tally.unreadable || (options.strict && tally.malformed) ||
                      (options.ignoreMissing && tally.read == 0);
  return failed ? EXIT_SOME_FAILED : EXIT_ALL_GOOD;
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
