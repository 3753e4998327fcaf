#pragma once
// Where a name listed in a sums file leads, decided once for both programs that check sums files,
// so that the verify window and the companion's check open the same file for every line: the
// path to open, or why the name is not opened at all.
#include "runtime/text.h"
#include "sums/sums_entry.h"
#include "sums/unreadable_reason.h"

struct ListedFile {
  Text path;     // what to open, when `refusal` is empty; a regular file is all it may be read as
  Text refusal;  // why the name is not opened, one sentence; empty: open `path`
};

// The file `entry` names in `sumsFile`, given as the user gave it ("-": standard input). An
// absolute name is taken as written; any other, `../` included, is in the sums file's folder,
// wherever the program runs from. On POSIX a name holding '\' that is not there as written is
// looked for with '/' in its place, as a sums file written on Windows means it. On Windows a name
// written to reach a network share (unless `allowNetworkNames`), the device namespace or a device
// is refused.
ListedFile FindListedFile(const Text& sumsFile, const SumsEntry& entry, bool allowNetworkNames);

// How a refused name is judged: UNREADABLE, the refusal its reason.
FileFailure RefusalFailure(const Text& refusal);
