#pragma once
// The digests of files named on the command line, in a list or in a sums file, "-" being standard
// input, each read once for all its digests. One run of workers and read buffers serves the
// whole program; while a file keeps the program waiting, what standard output holds is written
// and the progress line shows.
#include <memory>
#include <vector>

#include "digest/digest_run.h"
#include "runtime/text.h"
#include "sums/listed_file.h"
#include "sums/named_algorithms.h"
#include "sums/unreadable_reason.h"

struct NamedFileDigests {
  std::vector<Text> digests;  // in the order of the algorithms asked for
  FileFailure failure;        // why it could not be read
};

// The digests of many files, several in flight: Start each in order, then Finish them in the same
// order, with at most FILES_IN_FLIGHT started and not yet finished: enough to keep
// every worker busy with small files, few enough that the open files stay few.
constexpr size_t FILES_IN_FLIGHT = 64;
std::unique_ptr<DigestJob> StartNamedFileDigests(const Text& name,
                                                 const std::vector<DigestChoice>& choices);
NamedFileDigests FinishNamedFileDigests(DigestJob& job);

// A file `entry` of `sumsFile` lists, found as FindListedFile finds it and started as the others:
// never opened when its name is refused (no job; `refusal` says why), read only when a regular
// file, so that no listed name keeps the check waiting. A listed "-" is standard input, as the
// usual tools read it.
struct ListedFileJob {
  std::unique_ptr<DigestJob> job;
  Text refusal;
};
ListedFileJob StartListedFileDigests(const Text& sumsFile, const SumsEntry& entry,
                                     bool allowNetworkNames,
                                     const std::vector<DigestChoice>& choices);
