#pragma once
// The algorithms as the console companion and sums files name them, from the one algorithm table
// (report/algorithm_table.h), and the lists drawn from it.
#include <cstddef>
#include <vector>

#include "digest/compute_file_digests.h"
#include "report/algorithm_table.h"
#include "runtime/text.h"

// The algorithm table under the name the checking code knows it by.
inline constexpr const auto& NAMED_ALGORITHMS = ALGORITHMS;

// The number of hexadecimal digits of the algorithm's digests.
constexpr size_t HexLength(const NamedAlgorithm& algorithm) {
  return static_cast<size_t>(algorithm.digestBits) / 4;
}

using AlgorithmList = std::vector<const NamedAlgorithm*>;

// Every algorithm, in the table's order: what a sums file or a pasted digest may be in.
AlgorithmList AllAlgorithms();

// The window's eleven, in its order: what a file's report holds when no algorithm is chosen.
AlgorithmList ReportAlgorithms();

// The algorithm whose -a name, either tag or standard's name (SHA-256) is `name`, in any case;
// or null.
const NamedAlgorithm* FindAlgorithmByName(const Text& name);

// "crc32, md5, ..., sha3-512", for messages.
Text AlgorithmNamesList();

// Those of `candidates` whose digests have `hexLength` digits, in the candidates' order.
AlgorithmList AlgorithmsWithHexLength(const AlgorithmList& candidates, size_t hexLength);

// True when some algorithm's digests have `hexLength` digits.
bool IsDigestLength(size_t hexLength);

// What the engine is asked for, in the list's order.
std::vector<DigestChoice> DigestChoices(const AlgorithmList& algorithms);

// Upper-case ASCII letters made lower case, for names compared without regard to case.
Text LowerCaseAscii(const Text& text);
