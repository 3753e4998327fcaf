#include "verify/file_runs.h"

#include "sums/entry_check.h"
#include "verify/group_reads.h"

namespace {

// The listing of the files a run reads, one row each, shown before the reading starts.
std::shared_ptr<const Listing> ListFiles(RunBoard& board, std::vector<Group>& groups) {
  auto listing = std::make_shared<Listing>();
  uint64_t total = 0;
  for (const Group& group : groups) {
    listing->Add(group.listed.entries[0], group.listed.entryAlgorithms[0]);
    total += ListedFileSize(group.path);
  }
  board.Post([&](RunOutbox& box) { box.listing = listing; }, true);
  board.SetBytesTotal(total);
  return listing;
}

NextGroup TakeInTurn(std::vector<Group>& groups) {
  return [&groups, next = size_t{0}](Group& group) mutable {
    if (next == groups.size()) return false;
    group = std::move(groups[next++]);
    return true;
  };
}

}  // namespace

void RunDigestCheck(RunBoard& board, const Text& file, const AlgorithmList& candidates,
                    const Text& hex) {
  const NamedAlgorithm* named = candidates.size() == 1 ? candidates[0] : nullptr;
  std::vector<Group> groups(1);
  groups[0].path = file;
  groups[0].listed.Add(ProperEntry(SumsLineForm::GNU, named, hex, file), candidates);
  ListFiles(board, groups);
  ReadGroups(board, TakeInTurn(groups), [&](const Group& read, const DigestJob& job) {
    std::vector<RowUpdate> updates = JudgeGroup(read, job);
    board.Post([&](RunOutbox& box) {
      box.updates = std::move(updates);
      box.digests = job.digests;
    });
  });
}

void RunComparison(RunBoard& board, const Text& first, const Text& second) {
  const AlgorithmList sha256 = {FindAlgorithmByName(L"sha256")};
  std::vector<Group> groups(2);
  const Text paths[] = {first, second};
  for (size_t i = 0; i < groups.size(); ++i) {
    groups[i].path = paths[i];
    SumsEntry entry;
    entry.name = paths[i];
    groups[i].listed.Add(std::move(entry), sha256);
    groups[i].firstRow = i;
  }
  ListFiles(board, groups);
  std::vector<RowOutcome> rows(2);
  std::vector<Text> digests(2);
  size_t read = 0;
  ReadGroups(board, TakeInTurn(groups), [&](const Group& group, const DigestJob& job) {
    RowOutcome& row = rows[group.firstRow];
    const FileFailure failure = FailureOf(job);
    if (failure.failed) {
      row.status = failure.missing ? RowStatus::MISSING : RowStatus::UNREADABLE;
      row.reason = failure.reason;
      return;
    }
    row.size = job.size;
    row.computed = digests[group.firstRow] = job.digests[0];
    ++read;
  });
  if (read == rows.size()) {
    const bool same = rows[0].size == rows[1].size && digests[0] == digests[1];
    for (size_t i = 0; i < rows.size(); ++i) {
      rows[i].status = same ? RowStatus::OK : RowStatus::FAILED;
      rows[i].expected = digests[1 - i];
    }
  }
  board.Post([&](RunOutbox& box) {
    for (size_t i = 0; i < rows.size(); ++i) box.updates.push_back({i, std::move(rows[i])});
    box.digests = digests;
  });
}
