#include "cli/options/option_table.h"

#include <algorithm>

#include "sums/pasted_digest.h"

namespace {

void TakeAlgorithms(OptionsBeingRead& reading, const Text& list) {
  size_t start = 0;
  for (;;) {
    const size_t comma = std::min(list.find(L',', start), list.size());
    const Text name = list.substr(start, comma - start);
    const NamedAlgorithm* algorithm = FindAlgorithmByName(name);
    if (!algorithm) {
      reading.Refuse(L"unknown algorithm '" + name + L"'; choose from " + AlgorithmNamesList());
      return;
    }
    AlgorithmList& chosen = reading.options.algorithms;
    if (std::find(chosen.begin(), chosen.end(), algorithm) == chosen.end()) {
      chosen.push_back(algorithm);
    }
    if (comma == list.size()) return;
    start = comma + 1;
  }
}

void TakeFormat(OptionsBeingRead& reading, const Text& name) {
  reading.formatGiven = true;
  if (name == L"report") {
    reading.options.format = OutputFormat::REPORT;
  } else if (name == L"gnu") {
    reading.options.format = OutputFormat::GNU;
  } else if (name == L"bsd") {
    reading.options.format = OutputFormat::BSD;
  } else {
    reading.Refuse(L"unknown format '" + name + L"'; choose from report, gnu, bsd");
  }
}

void TakeExpected(OptionsBeingRead& reading, const Text& value) {
  reading.expectGiven = true;
  PastedDigest digest;
  Text problem;
  if (!ReadPastedDigest(value, digest, problem)) reading.Refuse(L"--expect " + problem);
  reading.options.expected = digest.hex;
  reading.options.expectedAlgorithm = digest.algorithm;
}

// A switch: the option sets one member of the options to true.
template <bool CliOptions::*member>
void Set(OptionsBeingRead& reading, const Text&) {
  reading.options.*member = true;
}

// clang-format off
constexpr OptionRow OPTION_ROWS[] = {
    {L'a', L"algorithm", L"LIST", TakeAlgorithms,
     L"comma-separated list of {algorithms}; all eleven when not given (in any case; SHA256 and "
     L"SHA-256 are names too)"},
    {0, L"format", L"FORMAT", TakeFormat,
     L"report (the default), gnu ('HEX  NAME', needs one algorithm) or bsd ('SHA256 (NAME) = "
     L"HEX')"},
    {0, L"tag", nullptr,
     [](OptionsBeingRead& reading, const Text&) {
       reading.formatGiven = true;
       reading.options.format = OutputFormat::BSD;
     },
     L"the same as --format bsd"},
    {L'z', L"zero", nullptr, Set<&CliOptions::zero>,
     L"end each output line with NUL, not a line end, and write names unescaped"},
    // Files are always read as bytes: the usual tools' reading modes change nothing.
    {L'b', L"binary", nullptr, [](OptionsBeingRead&, const Text&) {},
     L"accepted and ignored, as is -t, --text: files are always read as bytes"},
    {L't', L"text", nullptr, [](OptionsBeingRead&, const Text&) {}, nullptr},
    {L'r', L"recursive", nullptr, Set<&CliOptions::recursive>,
     L"hash every file below each folder given, sorted by name"},
    {0, L"files-from", L"LIST",
     [](OptionsBeingRead& reading, const Text& list) { reading.options.fileLists.push_back(list); },
     L"hash the files LIST names too, one a line ('-': stdin)"},
    {0, L"progress", nullptr,
     [](OptionsBeingRead& reading, const Text&) { reading.options.progress = ProgressShown::ALWAYS; },
     L"show a long file's progress even off a terminal"},
    {0, L"no-progress", nullptr,
     [](OptionsBeingRead& reading, const Text&) { reading.options.progress = ProgressShown::NEVER; },
     L"never show it (by default: when stderr is a terminal)"},
    {L'c', L"check", nullptr, Set<&CliOptions::check>,
     L"read sums files and check each file they list. Lines as the usual *sum tools, OpenSSL, SFV "
     L"tools, certutil, PowerShell's Get-FileHash (list or CSV) and hashdeep write them, in UTF-8 "
     L"or in UTF-16 with a byte-order mark. A line without a tag is in the algorithm the sums "
     L"file's name says (SHA256SUMS, *.md5), else in each one that -a allows with its number of "
     L"digits. NAME.sha256 (or another algorithm) holding a digest alone checks NAME beside it"},
    {0, L"expect", L"HEX", TakeExpected,
     L"check each FILE against this checksum, computing every algorithm with its number of "
     L"digits; an OK names the one that matched. Written as pages show it: a name first decides "
     L"(sha256:HEX, SHA-256 = HEX), digits may be grouped by blanks or colons"},
    {0, L"quiet", nullptr, Set<&CliOptions::quiet>, L"when checking, print only failures"},
    {0, L"status", nullptr, Set<&CliOptions::status>,
     L"when checking, print nothing: the exit status tells"},
    {0, L"strict", nullptr, Set<&CliOptions::strict>,
     L"with --check, a line in no known form fails the check"},
    {L'w', L"warn", nullptr, Set<&CliOptions::warn>,
     L"with --check, warn of each line in no known form"},
    {0, L"ignore-missing", nullptr, Set<&CliOptions::ignoreMissing>,
     L"when checking, pass over listed files that do not exist"},
    {L'h', L"help", nullptr, Set<&CliOptions::help>, L"print this help"},
    {L'V', L"version", nullptr, Set<&CliOptions::version>, L"print the version"},
    {0, L"benchmark", nullptr, Set<&CliOptions::benchmark>,
     L"print this processor, the backend each algorithm uses and its speed in memory, for a "
     L"report of a slow run"},
};
// clang-format on

}  // namespace

std::span<const OptionRow> OptionRows() {
  return OPTION_ROWS;
}
