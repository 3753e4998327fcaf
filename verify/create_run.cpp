#include "verify/create_run.h"

#include <chrono>

#include "sums/folder_walk.h"
#include "verify/group_reads.h"

namespace {

// Found rows go to the window in batches: this many, or what was found in this time.
constexpr size_t FOUND_BATCH = 1024;
constexpr std::chrono::milliseconds FOUND_PAUSE{100};

// The walk's side: every file found, posted in batches with the bytes they add to the run.
class FoundFiles {
 public:
  FoundFiles(RunBoard& board, const Text& folder) : board(board), folder(folder) {}

  void Add(const Text& path) {
    const uint64_t size = ListedFileSize(path);
    total += size;
    batch.push_back({NameBelowFolder(folder, path), static_cast<int64_t>(size)});
    paths.push_back(path);
    if (batch.size() >= FOUND_BATCH || std::chrono::steady_clock::now() - lastPost > FOUND_PAUSE) {
      Post();
    }
  }

  // A folder below that could not be listed: a row of its own, unreadable with the reason.
  void AddUnlisted(const Text& path, const Text& reason) {
    RowOutcome outcome;
    outcome.status = RowStatus::UNREADABLE;
    outcome.reason = reason;
    problems.push_back({paths.size(), std::move(outcome)});
    batch.push_back({NameBelowFolder(folder, path), -1});
    paths.push_back(Text());
  }

  void Post() {
    // The first rows wake the window; later ones wait for its next look.
    const bool wake = !posted;
    board.Post(
        [&](RunOutbox& box) {
          for (FoundFile& file : batch) box.found.push_back(std::move(file));
          for (RowUpdate& problem : problems) box.updates.push_back(std::move(problem));
        },
        wake);
    board.SetBytesTotal(total);
    batch.clear();
    problems.clear();
    posted = true;
    lastPost = std::chrono::steady_clock::now();
  }

  std::vector<Text> paths;  // every row's file, in the rows' order; empty for a problem

 private:
  RunBoard& board;
  const Text folder;
  std::vector<FoundFile> batch;
  std::vector<RowUpdate> problems;
  uint64_t total = 0;
  bool posted = false;
  std::chrono::steady_clock::time_point lastPost = std::chrono::steady_clock::now();
};

void FindFiles(RunBoard& board, const CreateRequest& request, FoundFiles& found) {
  for (const SumsFileItem& item : request.items) {
    if (!item.folder) {
      found.Add(item.path);
      continue;
    }
    FolderWalk walk(item.path);
    for (WalkedFile file; !board.Cancelling() && walk.Next(file);) {
      if (file.problem.empty()) {
        found.Add(file.path);
      } else {
        found.AddUnlisted(file.path, file.problem);
      }
    }
  }
  found.Post();
}

RowOutcome Outcome(const DigestJob& job, const NamedAlgorithm* algorithm) {
  RowOutcome outcome;
  const FileFailure failure = FailureOf(job);
  if (failure.failed) {
    // A file gone since the walk could not be read either: it is not in the sums file.
    outcome.status = RowStatus::UNREADABLE;
    outcome.reason = failure.reason;
    return outcome;
  }
  outcome.status = RowStatus::OK;
  outcome.matched = algorithm;
  outcome.size = job.size;
  outcome.computed = job.digests[0];
  return outcome;
}

}  // namespace

void RunCreate(RunBoard& board, const CreateRequest& request) {
  FoundFiles found(board, request.folder);
  FindFiles(board, request, found);
  size_t next = 0;
  ReadGroups(
      board,
      [&](Group& group) {
        while (next < found.paths.size() && found.paths[next].empty()) ++next;
        if (next == found.paths.size()) return false;
        group.path = found.paths[next];
        group.firstRow = next++;
        SumsEntry entry;
        entry.name = group.path;
        group.listed.Add(std::move(entry), {request.algorithm});
        return true;
      },
      [&](const Group& group, const DigestJob& job) {
        RowOutcome outcome = Outcome(job, request.algorithm);
        board.Post([&](RunOutbox& box) {
          box.updates.push_back({group.firstRow, std::move(outcome)});
        });
      });
}
