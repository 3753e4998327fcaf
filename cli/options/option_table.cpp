#include "cli/options/option_table.h"

#include <algorithm>

#include "digest/backend_selection.h"
#include "sums/pasted_digest.h"

namespace {

// "all" names every algorithm, the window's eleven and those beyond them.
AlgorithmList AlgorithmsNamed(OptionsBeingRead& reading, const Text& name) {
  if (LowerCaseAscii(name) == L"all") return AllAlgorithms();
  if (const NamedAlgorithm* algorithm = FindAlgorithmByName(name)) return {algorithm};
  if (LowerCaseAscii(name) == L"xxh64") {
    reading.Refuse(L"xxh64 is the older XXH64, not XXH3: choose xxh3 (64 bits) or xxh128");
  } else {
    reading.Refuse(L"unknown algorithm '" + name + L"'; choose from " + AlgorithmNamesList() +
                   L", or all");
  }
  return {};
}

void TakeAlgorithms(OptionsBeingRead& reading, const Text& list) {
  size_t start = 0;
  for (;;) {
    const size_t comma = std::min(list.find(L',', start), list.size());
    const AlgorithmList named = AlgorithmsNamed(reading, list.substr(start, comma - start));
    if (named.empty()) return;
    AlgorithmList& chosen = reading.options.algorithms;
    for (const NamedAlgorithm* algorithm : named) {
      if (std::find(chosen.begin(), chosen.end(), algorithm) == chosen.end()) {
        chosen.push_back(algorithm);
      }
    }
    if (comma == list.size()) return;
    start = comma + 1;
  }
}

// "NAME, NAME, ..." of the algorithm's backends that this processor runs, for messages.
Text RunnableBackendsList(const ReportRow& row) {
  Text names;
  for (const std::string& name : DigestBackendNames(row.algorithm, row.bits)) {
    if (!ProcessorRunsDigestBackend(row.algorithm, row.bits, name)) continue;
    names += (names.empty() ? L"" : L", ") + TextFromUtf8(name);
  }
  return names;
}

void TakeBackend(OptionsBeingRead& reading, const Text& pin) {
  const size_t equals = pin.find(L'=');
  if (equals == Text::npos) {
    reading.Refuse(L"--backend '" + pin + L"' is not ALGORITHM=BACKEND");
    return;
  }
  const Text algorithmName = pin.substr(0, equals);
  const NamedAlgorithm* algorithm = FindAlgorithmByName(algorithmName);
  if (!algorithm) {
    reading.Refuse(L"--backend: unknown algorithm '" + algorithmName + L"'; choose from " +
                   AlgorithmNamesList());
    return;
  }
  const ReportRow& row = algorithm->row;
  const std::string name = Utf8FromText(pin.substr(equals + 1));
  if (!ProcessorRunsDigestBackend(row.algorithm, row.bits, name)) {
    reading.Refuse(L"--backend: " + Text(algorithm->name) + L" has no backend '" +
                   TextFromUtf8(name) + L"' that this processor runs; choose from " +
                   RunnableBackendsList(row));
    return;
  }
  reading.options.backends.push_back({algorithm, name});
}

void TakeBackends(OptionsBeingRead& reading, const Text& list) {
  size_t start = 0;
  for (;;) {
    const size_t comma = std::min(list.find(L',', start), list.size());
    TakeBackend(reading, list.substr(start, comma - start));
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
     L"comma-separated list of {algorithms}, or all of them with 'all'; the window's eleven (crc32 "
     L"to sha3-512) when not given (in any case; SHA256, SHA-256 and b3 are names too)"},
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
     L"hash every file below each folder given, in path order, '/' between folders"},
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
     L"tools, certutil, PowerShell's Get-FileHash (list or CSV), hashdeep, gpg --print-md and "
     L"7-Zip's h table write them, in UTF-8 "
     L"or in UTF-16 with a byte-order mark. A line without a tag is in the algorithm the sums "
     L"file's name says (SHA256SUMS, *.md5), else in each one that -a allows with its number of "
     L"digits. NAME.sha256 (or another algorithm) holding a digest alone checks NAME beside it. "
     L"Listed names are found in the sums file's folder; only regular files are read, and on "
     L"Windows names of a network share, a device (CON, NUL, COM1, ...) or the device namespace "
     L"(\\\\.\\, \\\\?\\) are not opened"},
    {0, L"unlisted", L"SUMS",
     [](OptionsBeingRead& reading, const Text& file) { reading.options.unlistedOf = file; },
     L"print the files in the sums file SUMS's folder, and below as deep as its names go, that it does not "
     L"list (itself, its .asc/.sig/.gpg and other sums files aside), relative to that folder; "
     L"exit status 1 when there are some"},
    {0, L"update", L"SUMS",
     [](OptionsBeingRead& reading, const Text& file) { reading.options.updated = file; },
     L"add a line for each of those files to SUMS, in its own form (algorithm, gnu, bsd or "
     L"sfv lines, '/' or '\\' between folders, line ends, UTF-8 or UTF-16), after its last line, "
     L"every byte already there kept; print each name added and each listed file missing, whose "
     L"line stays. The file is replaced whole only once complete, or left as it was"},
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
    {0, L"allow-network-names", nullptr, Set<&CliOptions::allowNetworkNames>,
     L"with --check, open listed names on a network share (\\\\host\\share\\...) too"},
    {L'h', L"help", nullptr, Set<&CliOptions::help>, L"print this help"},
    {L'V', L"version", nullptr, Set<&CliOptions::version>, L"print the version"},
    {0, L"benchmark", nullptr, Set<&CliOptions::benchmark>,
     L"print this processor, every backend it runs for each algorithm with its speed in memory, "
     L"the one chosen and what choosing cost, for a report of a slow run (about 5 seconds); each "
     L"FILE given is read once and its reading speed printed too"},
    {0, L"backend", L"ALG=NAME", TakeBackends,
     L"run algorithm ALG on the engine's backend NAME, as --benchmark lists them, instead of the "
     L"one chosen by speed (sha512=avx2; comma-separated or repeated). SHA-224 and SHA-256 share "
     L"theirs, as do SHA-384 and SHA-512 and the four SHA-3: the last one given counts"},
};
// clang-format on

}  // namespace

std::span<const OptionRow> OptionRows() {
  return OPTION_ROWS;
}
