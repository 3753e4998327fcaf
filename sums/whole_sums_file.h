#pragma once
// A whole sums file read through, for a program that shows every entry: each entry in a known
// form handed on as it is read and the numbers of the lines in none, read line by line through
// the same reader as `checksums-cli -c`, "-" being standard input. A digest-alone entry
// (setup.iso.sha256) names its file with the sums file's folder in front; every other name is as
// the line writes it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/text.h"
#include "sums/sums_entry.h"

struct WholeSumsFile {
  std::vector<size_t> malformedLines;  // lines in no known form, counted from 1, in order
  // Why the sums file could not be opened or read through, as the companion words it after
  // "cannot read NAME: "; empty when it was. The entries before a failed read were handed on.
  Text failure;
  // Binary data, not text: the reading stopped there, and the entries handed on before it are
  // noise.
  bool binary = false;
  bool stopped = false;  // `goOn` said no before the end
};

// How far the reading is: the bytes read and the file's size (-1 when unknown). It is asked after
// each piece and answers whether to go on, so that reading a huge file can be stopped.
using SumsReadProgress = std::function<bool(uint64_t bytesRead, int64_t size)>;

// Each entry in a known form goes to `take` as it is read, so that a list too large to hold
// twice is held once, by the taker. Those taken before binary data was met are noise.
WholeSumsFile ReadSumsFileEntries(const Text& path, const std::function<void(SumsEntry&&)>& take,
                                  const SumsReadProgress& goOn = nullptr);
