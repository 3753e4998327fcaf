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

NamedFileDigests ComputeNamedFileDigests(const Text& name, const AlgorithmList& algorithms);

// A file `entry` of `sumsFile` lists, found as FindListedFile finds it: never opened when its
// name is refused, read only when a regular file, so that no listed name keeps the check waiting.
// A listed "-" is standard input, as the usual tools read it.
NamedFileDigests ComputeListedFileDigests(const Text& sumsFile, const SumsEntry& entry,
                                          bool allowNetworkNames, const AlgorithmList& algorithms);

// The same for many files, several in flight: Start each in order, then Finish them in the same
// order.
std::unique_ptr<DigestJob> StartNamedFileDigests(const Text& name,
                                                 const std::vector<DigestChoice>& choices);
NamedFileDigests FinishNamedFileDigests(DigestJob& job);
