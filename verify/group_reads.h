#pragma once
// The scheduling of a run's reads: files are read on the engine's workers, several at once, and
// handed back in the listing's order, so that rows come out in order however the reads end.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "digest/digest_run.h"
#include "sums/entry_group.h"
#include "verify/run_board.h"

// One read of one file for the rows listed one after another that name it.
struct Group {
  Text path;
  Text refusal;         // why the listed name is not opened; empty: read `path`
  size_t firstRow = 0;  // its rows follow on from here, one an entry
  EntryGroup listed;
  std::unique_ptr<DigestJob> job;
};

// The next group into `group`; false once there is none.
using NextGroup = std::function<bool(Group& group)>;
using GroupDone = std::function<void(const Group& group, const DigestJob& job)>;

// Reads the groups `next` gives, no more held at once than the reads in flight, and hands each to
// `done` in order; stops starting reads once cancelled. Only the groups in flight are held.
void ReadGroups(RunBoard& board, const NextGroup& next, const GroupDone& done);

// A file's size in bytes, 0 when it cannot be known, for the bar's whole.
uint64_t ListedFileSize(const Text& path);

// The rows of a group whose file was read (or could not be) as the window shows them.
std::vector<RowUpdate> JudgeGroup(const Group& group, const DigestJob& job);
