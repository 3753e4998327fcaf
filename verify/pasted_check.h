#pragma once
// Checking one file against a pasted digest, or against a second file: what is computed and
// what the verdict says.
#include <vector>

#include "sums/named_algorithms.h"
#include "sums/pasted_digest.h"
#include "verify/verdict.h"

// The algorithms to compute, and only those: the one named before the digits; else every one
// whose digests have that many digits (SHA-256 and SHA3-256 share 64).
AlgorithmList CandidateAlgorithms(const PastedDigest& digest);

// "SHA-256 or SHA3-256".
Text AlgorithmNames(const AlgorithmList& algorithms, const wchar_t* joiner);

// What the window asks for before a digest is pasted for the file `fileName`; once `pasted` is
// text that is no digest, why not and what it needs (the reader's `problem`), in one sentence.
Verdict PastePromptVerdict(const Text& fileName, const Text& pasted, const Text& problem);

// "Match: SHA-256" on green, or "No match" on red; the details give each digest computed.
Verdict PastedDigestVerdict(const NamedAlgorithm* matched, const AlgorithmList& computed,
                            const std::vector<Text>& digests);

// Two files compared by SHA-256 and size.
Verdict ComparisonVerdict(bool sameSize, bool sameDigest);
