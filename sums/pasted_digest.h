#pragma once
// A digest as web pages show it: hex digits, maybe in groups parted by blanks or colons
// ("ab:cd:ef...", "abcd ef01 ..."), maybe after the algorithm's name and a ':' or '='
// ("sha256:HEX" as container registries write it, "SHA256: HEX", "SHA-256 = HEX",
// "SHA3-256:HEX"). A name decides the algorithm.
#include "sums/named_algorithms.h"
#include "runtime/text.h"

struct PastedDigest {
  const NamedAlgorithm* algorithm = nullptr;  // named before the digits; null: told by their number
  Text hex;                                   // the digits alone, as written
};

// False, with a one-line reason that quotes `text`, when it is no digest: not in these forms, or
// with a number of digits that no algorithm's digests have, or not the named one's.
bool ReadPastedDigest(const Text& text, PastedDigest& digest, Text& problem);
