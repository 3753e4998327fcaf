#pragma once
// What a check run's threads and the window's thread share: the outbox of what the window shows,
// how far the run is, and the word to stop. Every call takes the board's lock for a moment and
// never waits on anything else under it, so that the window's thread is never held by a run
// whose read does not return.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "digest/digest_run.h"
#include "verify/listing.h"
#include "verify/row_table.h"

struct RowUpdate {
  size_t index;
  RowOutcome outcome;
};

// What the run has for the window since it was last asked.
struct RunOutbox {
  std::shared_ptr<const Listing> listing;  // once: every row, waiting
  std::vector<size_t> malformedLines;      // with the listing: lines not understood, from 1
  Text failure;                            // why the sums file could not be read (through)
  bool binary = false;                     // the sums file holds binary data, not lines of text
  std::vector<FoundFile> found;            // making a sums file: rows to add, in order
  std::vector<RowUpdate> updates;          // rows done, in order
  std::vector<Text> unlisted;              // after the rows: files here no entry names
  Text updateFailure;                      // why the unlisted files were not added
  std::vector<Text> digests;               // a pasted digest's run: each candidate's digest
  bool outOfMemory = false;                // the run stopped there, keeping what it had
  bool finished = false;
  bool cancelled = false;

  bool Empty() const {
    return !listing && found.empty() && updates.empty() && !finished && failure.empty() &&
           !binary && digests.empty() && !outOfMemory && unlisted.empty() && updateFailure.empty();
  }
};

struct RunProgress {
  uint64_t bytesDone = 0;
  uint64_t bytesTotal = 0;
  Text current;  // the file the run waits for
  uint64_t currentDone = 0;
  int64_t currentSize = -1;
};

class RunBoard {
 public:
  // `wake` is called on the run's threads, under the board's lock, when the window should look.
  explicit RunBoard(std::function<void()> wake) : wake(std::move(wake)) {}

  // The window's side.
  RunOutbox Take();
  RunProgress Progress();
  void Cancel();
  bool Cancelling() const { return cancelling; }
  // The window no longer listens: `wake` is not called again once this returns.
  void Forget();
  // Waits at most `longest` for the run to post its end; true when it has.
  bool WaitForEnd(std::chrono::milliseconds longest);

  // The run's side.
  void Post(const std::function<void(RunOutbox&)>& change, bool wakeWindow = false);
  void Finish();
  void ReadingListing(const Text& sumsFile);           // empty once read
  bool ListingRead(uint64_t bytesRead, int64_t size);  // false once cancelled
  void SetBytesTotal(uint64_t total);
  // The run's engine, for Cancel to reach; null once it is gone.
  void UseDigestRun(DigestRun* run);
  void WaitingFor(const DigestJob* job);  // null once it is done, its bytes counted

 private:
  std::function<void()> wake;
  std::atomic<bool> cancelling{false};
  std::mutex lock;  // guards everything below
  std::condition_variable ended;
  RunOutbox outbox;
  bool finished = false;
  DigestRun* digestRun = nullptr;
  const DigestJob* waitedFor = nullptr;
  Text listingRead;
  uint64_t listingBytesRead = 0;
  int64_t listingSize = -1;
  uint64_t bytesTotal = 0;
  uint64_t bytesFinished = 0;
};
