#include "verify/group_reads.h"

#include <deque>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "sums/entry_check.h"
#include "sums/listed_file.h"

namespace {

// Files read at once beyond those the workers are reading: enough to keep them busy, few enough
// that no more than these hold a file open.
constexpr size_t FILES_IN_FLIGHT_PER_WORKER = 4;

RowStatus StatusOf(EntryStatus status) {
  switch (status) {
    case EntryStatus::OK:
      return RowStatus::OK;
    case EntryStatus::FAILED:
      return RowStatus::FAILED;
    case EntryStatus::MISSING:
      return RowStatus::MISSING;
    case EntryStatus::UNREADABLE:
      break;
  }
  return RowStatus::UNREADABLE;
}

}  // namespace

uint64_t ListedFileSize(const Text& path) {
#ifdef _WIN32
  // One question of the file system: the library's file_size took about twice as long under Wine.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
#else
  // The name's own bytes: a conversion through the C locale would throw beyond ASCII.
  std::error_code error;
  const uintmax_t size =
      std::filesystem::file_size(std::filesystem::path(NameBytesFromText(path)), error);
  return error ? 0 : static_cast<uint64_t>(size);
#endif
}

void ReadGroups(RunBoard& board, const NextGroup& next, const GroupDone& done) {
  const unsigned workers = DigestWorkersForThisMachine();
  DigestRun run(workers);
  board.UseDigestRun(&run);
  const size_t inFlight = FILES_IN_FLIGHT_PER_WORKER * workers;
  std::deque<Group> started;
  bool more = true;
  for (;;) {
    while (more && !board.Cancelling() && started.size() < inFlight) {
      Group group;
      more = next(group);
      if (!more) break;
      group.job = std::make_unique<DigestJob>(
          group.path, false, DigestChoices(group.listed.algorithms), FileKinds::REGULAR_ONLY);
      if (group.refusal.empty()) run.Start(*group.job);
      started.push_back(std::move(group));
    }
    if (started.empty()) break;
    Group& group = started.front();
    if (group.refusal.empty()) {
      board.WaitingFor(group.job.get());
      run.Finish(*group.job, nullptr);
      board.WaitingFor(nullptr);
    }
    // A cancelled read leaves its rows unchecked; the others are finished quickly.
    if (!group.job->cancelled) done(group, *group.job);
    started.pop_front();
  }
  board.UseDigestRun(nullptr);
}

std::vector<RowUpdate> JudgeGroup(const Group& group, const DigestJob& job) {
  const FileFailure failure =
      group.refusal.empty() ? FailureOf(job) : RefusalFailure(group.refusal);
  std::vector<RowUpdate> updates;
  for (size_t i = 0; i < group.listed.entries.size(); ++i) {
    const SumsEntry& entry = group.listed.entries[i];
    const EntryVerdict verdict = group.listed.Judge(i, failure, job.digests);
    RowOutcome outcome;
    outcome.status = StatusOf(verdict.status);
    if (verdict.status == EntryStatus::OK && entry.moreDigests.empty()) {
      outcome.matched = verdict.algorithm;
    }
    if (verdict.status == EntryStatus::FAILED) {
      outcome.expected = verdict.expected;
      outcome.computed = verdict.computed;
    }
    outcome.reason = verdict.reason;
    outcome.size = failure.failed ? -1 : job.size.load();
    updates.push_back({group.firstRow + i, std::move(outcome)});
  }
  return updates;
}
