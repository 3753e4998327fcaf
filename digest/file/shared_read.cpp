// The calling thread reads pieces into a small ring of buffers while workers update the
// contexts, so reading overlaps hashing. Any worker updates any context nobody is updating, with
// the oldest piece that context still lacks: the work balances itself whatever each algorithm
// costs on this processor, and a piece's buffer is read into again once every context has had it.
#include "digest/file/shared_read.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "digest/compute_file_digest.h"

namespace {

void UpdateAll(const std::vector<FedContext>& targets, uint8_t* bytes, uint32_t length) {
  for (const FedContext& target : targets) target.plugin->update(target.context, bytes, length);
}

void Tell(const AfterEachRead& afterEachRead, int64_t bytesRead) {
  if (afterEachRead && bytesRead > 0) afterEachRead(static_cast<uint32_t>(bytesRead));
}

bool Stopped(const std::atomic<bool>* stop) {
  return stop && *stop;
}

bool FeedOnThisThread(DigestFile& source, const std::vector<FedContext>& targets, uint8_t* buffer,
                      const AfterEachRead& afterEachRead, const std::atomic<bool>* stop) {
  if (!buffer) return false;
  for (;;) {
    if (Stopped(stop)) return false;
    const int64_t bytesRead = source.Read(buffer, DIGEST_READ_SIZE);
    if (bytesRead < 0) return false;
    UpdateAll(targets, buffer, static_cast<uint32_t>(bytesRead));
    Tell(afterEachRead, bytesRead);
    if (bytesRead != DIGEST_READ_SIZE) return true;
  }
}

struct Piece {
  uint8_t* bytes = nullptr;
  uint32_t length = 0;
  size_t updatesLeft = 0;  // contexts still to be updated with it; 0: free to read into
};

struct TargetProgress {
  uint64_t piecesDone = 0;
  bool busy = false;  // a worker is updating it
};

constexpr size_t NO_TARGET = static_cast<size_t>(-1);

class SharedRead {
 public:
  SharedRead(const std::vector<FedContext>& targets, const AfterEachRead& afterEachRead,
             const std::atomic<bool>* stop)
      : targets(targets), afterEachRead(afterEachRead), stop(stop), progress(targets.size()) {}

  bool Run(DigestFile& source, WorkerPool& pool, unsigned workers, ReadBuffers& buffers);

 private:
  // Ends the pass if the reader has not, then waits for every task posted: none may outlive
  // the pass it works on.
  struct Tasks {
    SharedRead& pass;
    unsigned posted = 0;
    ~Tasks() {
      pass.EndIfUnfinished();
      std::unique_lock<std::mutex> held(pass.lock);
      pass.taskEnded.wait(held, [&] { return pass.tasksEnded == posted; });
    }
  };

  Piece& PieceAt(uint64_t index) { return ring[index % SHARED_READ_PIECES]; }
  bool ReadAll(DigestFile& source);
  void Work();
  void EndTask();
  size_t NextTarget() const;
  bool Finished() const;
  void EndIfUnfinished();

  const std::vector<FedContext>& targets;
  const AfterEachRead& afterEachRead;
  const std::atomic<bool>* const stop;
  Piece ring[SHARED_READ_PIECES];
  std::mutex lock;                     // guards everything below and the pieces' counts
  std::condition_variable workToDo;    // a piece was read, a context came free, or the end
  std::condition_variable pieceFreed;  // every context has had the oldest piece
  std::condition_variable taskEnded;   // a worker's task returned
  unsigned tasksEnded = 0;
  std::vector<TargetProgress> progress;
  uint64_t piecesRead = 0;
  bool ended = false;   // no piece follows piecesRead
  bool failed = false;  // a read failed: the workers stop
};

bool SharedRead::Run(DigestFile& source, WorkerPool& pool, unsigned workers, ReadBuffers& buffers) {
  for (unsigned i = 0; i < SHARED_READ_PIECES; ++i) {
    ring[i].bytes = buffers.At(i);
    if (!ring[i].bytes) return false;
  }
  Tasks started{*this};
  for (; started.posted < workers; ++started.posted) {
    pool.PostUrgent([this](unsigned) {
      Work();
      EndTask();
    });
  }
  return ReadAll(source);
}

// Tells under the lock: once the count is out, the reader may end the pass and its frame may
// be reused, so this worker must touch nothing of the pass after unlocking.
void SharedRead::EndTask() {
  std::lock_guard<std::mutex> held(lock);
  ++tasksEnded;
  taskEnded.notify_all();
}

bool SharedRead::ReadAll(DigestFile& source) {
  for (;;) {
    Piece* piece;
    {
      std::unique_lock<std::mutex> held(lock);
      pieceFreed.wait(held, [&] { return PieceAt(piecesRead).updatesLeft == 0; });
      piece = &PieceAt(piecesRead);
    }
    // Outside the lock: no worker touches a piece that every context has had.
    const int64_t bytesRead = Stopped(stop) ? -1 : source.Read(piece->bytes, DIGEST_READ_SIZE);
    Tell(afterEachRead, bytesRead);
    {
      std::lock_guard<std::mutex> held(lock);
      if (bytesRead < 0) {
        failed = true;
      } else {
        piece->length = static_cast<uint32_t>(bytesRead);
        piece->updatesLeft = targets.size();
        ++piecesRead;
      }
      ended = bytesRead != DIGEST_READ_SIZE;
    }
    workToDo.notify_all();
    if (ended) return !failed;
  }
}

void SharedRead::Work() {
  std::unique_lock<std::mutex> held(lock);
  for (;;) {
    size_t next = NO_TARGET;
    workToDo.wait(held, [&] {
      next = NextTarget();
      return next != NO_TARGET || Finished();
    });
    if (next == NO_TARGET) return;
    TargetProgress& target = progress[next];
    target.busy = true;
    Piece& piece = PieceAt(target.piecesDone);
    held.unlock();
    targets[next].plugin->update(targets[next].context, piece.bytes, piece.length);
    held.lock();
    target.busy = false;
    ++target.piecesDone;
    if (--piece.updatesLeft == 0) pieceFreed.notify_one();
    // Another worker may take this context's next piece, or may be waiting for the end.
    if (target.piecesDone < piecesRead || Finished()) workToDo.notify_all();
  }
}

// The free context furthest behind, so the oldest piece comes free first; NO_TARGET when no
// free context has a piece waiting, or after a failed read.
size_t SharedRead::NextTarget() const {
  size_t next = NO_TARGET;
  if (failed) return next;
  for (size_t i = 0; i < progress.size(); ++i) {
    const TargetProgress& candidate = progress[i];
    if (candidate.busy || candidate.piecesDone == piecesRead) continue;
    if (next == NO_TARGET || candidate.piecesDone < progress[next].piecesDone) next = i;
  }
  return next;
}

bool SharedRead::Finished() const {
  if (failed) return true;
  if (!ended) return false;
  return std::all_of(progress.begin(), progress.end(),
                     [&](const TargetProgress& target) { return target.piecesDone == piecesRead; });
}

void SharedRead::EndIfUnfinished() {
  {
    std::lock_guard<std::mutex> held(lock);
    if (ended) return;
    ended = failed = true;
  }
  workToDo.notify_all();
}

}  // namespace

bool FeedFromOneRead(DigestFile& source, const std::vector<FedContext>& targets, unsigned workers) {
  const size_t usefulWorkers = std::min<size_t>(workers, targets.size());
  ReadBuffers ring(SHARED_READ_PIECES);
  if (usefulWorkers <= 1) return FeedOnThisThread(source, targets, ring.At(0), nullptr, nullptr);
  WorkerPool pool(static_cast<unsigned>(usefulWorkers));
  return FeedFromOneRead(source, targets, pool, ring, nullptr);
}

bool FeedFromOneRead(DigestFile& source, const std::vector<FedContext>& targets, WorkerPool& pool,
                     ReadBuffers& ring, const AfterEachRead& afterEachRead,
                     const std::atomic<bool>* stop) {
  const size_t usefulWorkers = std::min<size_t>(pool.Size(), targets.size());
  // With none the reader would wait for ever; with one it would only wait for it.
  if (usefulWorkers <= 1) return FeedOnThisThread(source, targets, ring.At(0), afterEachRead, stop);
  SharedRead pass(targets, afterEachRead, stop);
  return pass.Run(source, pool, static_cast<unsigned>(usefulWorkers), ring);
}
