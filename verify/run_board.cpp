#include "verify/run_board.h"

RunOutbox RunBoard::Take() {
  std::lock_guard<std::mutex> held(lock);
  RunOutbox taken = std::move(outbox);
  outbox = RunOutbox();
  return taken;
}

RunProgress RunBoard::Progress() {
  std::lock_guard<std::mutex> held(lock);
  RunProgress progress;
  progress.bytesTotal = bytesTotal;
  progress.bytesDone = bytesFinished;
  if (!listingRead.empty()) {
    progress.current = listingRead;
    progress.currentDone = progress.bytesDone = listingBytesRead;
    progress.currentSize = listingSize;
    progress.bytesTotal = listingSize > 0 ? static_cast<uint64_t>(listingSize) : 0;
  }
  if (waitedFor) {
    progress.current = waitedFor->path;
    progress.currentDone = waitedFor->bytesRead;
    progress.currentSize = waitedFor->size;
    progress.bytesDone += progress.currentDone;
  }
  return progress;
}

void RunBoard::Cancel() {
  cancelling = true;
  std::lock_guard<std::mutex> held(lock);
  if (digestRun) digestRun->Cancel();
}

void RunBoard::Forget() {
  std::lock_guard<std::mutex> held(lock);
  wake = nullptr;
}

bool RunBoard::WaitForEnd(std::chrono::milliseconds longest) {
  std::unique_lock<std::mutex> held(lock);
  return ended.wait_for(held, longest, [&] { return finished; });
}

void RunBoard::Post(const std::function<void(RunOutbox&)>& change, bool wakeWindow) {
  std::lock_guard<std::mutex> held(lock);
  change(outbox);
  if (wakeWindow && wake) wake();
}

void RunBoard::Finish() {
  std::lock_guard<std::mutex> held(lock);
  outbox.finished = finished = true;
  outbox.cancelled = cancelling;
  ended.notify_all();
  if (wake) wake();
}

void RunBoard::ReadingListing(const Text& sumsFile) {
  std::lock_guard<std::mutex> held(lock);
  listingRead = sumsFile;
}

bool RunBoard::ListingRead(uint64_t bytesRead, int64_t size) {
  std::lock_guard<std::mutex> held(lock);
  listingBytesRead = bytesRead;
  listingSize = size;
  return !cancelling;
}

void RunBoard::SetBytesTotal(uint64_t total) {
  std::lock_guard<std::mutex> held(lock);
  bytesTotal = total;
}

void RunBoard::UseDigestRun(DigestRun* run) {
  std::lock_guard<std::mutex> held(lock);
  digestRun = run;
  if (run && cancelling) run->Cancel();
}

void RunBoard::WaitingFor(const DigestJob* job) {
  std::lock_guard<std::mutex> held(lock);
  if (!job && waitedFor) bytesFinished += waitedFor->bytesRead;
  waitedFor = job;
}
