#pragma once
// A check run on threads of its own: a sums file's entries, one file against a pasted digest, or
// two files against each other. Files are read by the engine's workers, several at once; rows
// come out in order through an outbox the window's thread empties when woken, at the listing and
// at the end, and as often as it likes between. Cancel stops the files being read before their
// next read and keeps the rows done.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "digest/digest_run.h"
#include "sums/named_algorithms.h"
#include "sums/sums_entry.h"
#include "sums/whole_sums_file.h"
#include "verify/check_rows.h"

struct RowUpdate {
  size_t index;
  CheckRow row;
};

// What the run has for the window since it was last asked.
struct RunOutbox {
  bool listed = false;                 // `rows` and `malformedLines` hold the whole list
  std::vector<CheckRow> rows;          // every row, waiting, once listed
  std::vector<size_t> malformedLines;  // lines not understood, counted from 1
  Text failure;                        // why the sums file or the file could not be read
  bool binary = false;                 // the sums file holds binary data, not lines of text
  std::vector<RowUpdate> updates;      // rows done, in order
  std::vector<Text> digests;           // a pasted digest's run: each candidate's digest
  bool finished = false;
  bool cancelled = false;

  bool Empty() const {
    return !listed && updates.empty() && !finished && failure.empty() && !binary && digests.empty();
  }
};

struct RunProgress {
  uint64_t bytesDone = 0;
  uint64_t bytesTotal = 0;
  Text current;  // the file the run waits for
  uint64_t currentDone = 0;
  int64_t currentSize = -1;
};

class CheckRun {
 public:
  // `wake` is called on the run's threads once the rows are listed and once the run has ended: the
  // rows done between wait to be taken, so that the window redraws at its own pace.
  explicit CheckRun(std::function<void()> wake);
  ~CheckRun();  // cancels and waits for the threads
  CheckRun(const CheckRun&) = delete;
  CheckRun& operator=(const CheckRun&) = delete;

  // Start one of these once.
  void CheckSumsFile(const Text& sumsFile);
  void CheckDigest(const Text& file, const AlgorithmList& candidates, const Text& hex);
  void CompareFiles(const Text& first, const Text& second);

  void Cancel();
  RunOutbox Take();
  RunProgress Progress();

 private:
  struct Group;
  void RunSumsFile(const Text& sumsFile);
  // The sums file read, showing how far as the progress of its own; stops when cancelled.
  WholeSumsFile ReadListing(const Text& sumsFile);
  // Reads each group's file, several at once, and hands each to `done` in order.
  void RunGroups(std::vector<Group>& groups,
                 const std::function<void(const Group&, const DigestJob&)>& done);
  void Judge(const Group& group, const DigestJob& job);
  void CompareRead(std::vector<Group>& groups);
  void Post(const std::function<void(RunOutbox&)>& change, bool wakeWindow = false);
  void Finish();

  std::function<void()> wake;
  std::atomic<bool> cancelling{false};
  std::mutex lock;  // guards everything below
  RunOutbox outbox;
  std::vector<CheckRow> listedRows;  // two files compared: the rows as they were listed
  DigestRun* digestRun = nullptr;
  const DigestJob* waitedFor = nullptr;
  Text listingRead;  // the sums file, while it is read
  uint64_t listingBytesRead = 0;
  int64_t listingSize = -1;
  uint64_t bytesTotal = 0;
  uint64_t bytesFinished = 0;
  std::thread thread;  // last: it goes before what it uses
};
