// The calling thread reads pieces into a small ring of buffers while worker threads update the
// contexts, so reading overlaps hashing. Any worker updates any context nobody is updating, with
// the oldest piece that context still lacks: the work balances itself whatever each algorithm
// costs on this processor, and a piece's buffer is read into again once every context has had it.
#include "digest/file/shared_read.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "digest/compute_file_digest.h"
#include "runtime/main_heap.h"

namespace {

// Lets the reader run a piece or two ahead of the slowest context while the buffers stay few
// enough to be found in the caches.
constexpr unsigned RING_PIECES = 4;

// A read buffer from the private heap, given back on every path.
struct ReadBuffer {
  uint8_t* bytes = static_cast<uint8_t*>(AllocateFromMainHeap(DIGEST_READ_SIZE));
  ~ReadBuffer() { ReleaseToMainHeap(bytes); }
};

void UpdateAll(const std::vector<FedContext>& targets, uint8_t* bytes, uint32_t length) {
  for (const FedContext& target : targets) target.plugin->update(target.context, bytes, length);
}

bool FeedOnThisThread(DigestFile& source, const std::vector<FedContext>& targets) {
  ReadBuffer buffer;
  if (!buffer.bytes) return false;
  for (;;) {
    const int64_t bytesRead = source.Read(buffer.bytes, DIGEST_READ_SIZE);
    if (bytesRead < 0) return false;
    UpdateAll(targets, buffer.bytes, static_cast<uint32_t>(bytesRead));
    if (bytesRead != DIGEST_READ_SIZE) return true;
  }
}

struct Piece {
  ReadBuffer buffer;
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
  explicit SharedRead(const std::vector<FedContext>& targets)
      : targets(targets), progress(targets.size()) {}

  bool Run(DigestFile& source, unsigned workers);

 private:
  // Ends the pass if the reader has not, then joins every worker: no path leaves one behind.
  struct Workers {
    SharedRead& pass;
    std::vector<std::thread> threads;
    ~Workers() {
      pass.EndIfUnfinished();
      for (std::thread& thread : threads) thread.join();
    }
  };

  Piece& PieceAt(uint64_t index) { return ring[index % RING_PIECES]; }
  bool ReadAll(DigestFile& source);
  void Work();
  size_t NextTarget() const;
  bool Finished() const;
  void EndIfUnfinished();

  const std::vector<FedContext>& targets;
  Piece ring[RING_PIECES];
  std::mutex lock;                     // guards everything below and the pieces' counts
  std::condition_variable workToDo;    // a piece was read, a context came free, or the end
  std::condition_variable pieceFreed;  // every context has had the oldest piece
  std::vector<TargetProgress> progress;
  uint64_t piecesRead = 0;
  bool ended = false;   // no piece follows piecesRead
  bool failed = false;  // a read failed: the workers stop
};

bool SharedRead::Run(DigestFile& source, unsigned workers) {
  for (const Piece& piece : ring) {
    if (!piece.buffer.bytes) return false;
  }
  Workers started{*this, {}};
  started.threads.reserve(workers);
  for (unsigned i = 0; i < workers; ++i) {
    // Fewer workers only take longer; with none the reader would wait for ever.
    try {
      started.threads.emplace_back(&SharedRead::Work, this);
    } catch (const std::system_error&) {
      break;
    }
  }
  if (started.threads.empty()) return FeedOnThisThread(source, targets);
  return ReadAll(source);
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
    const int64_t bytesRead = source.Read(piece->buffer.bytes, DIGEST_READ_SIZE);
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
    targets[next].plugin->update(targets[next].context, piece.buffer.bytes, piece.length);
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
  if (usefulWorkers <= 1) return FeedOnThisThread(source, targets);
  SharedRead pass(targets);
  return pass.Run(source, static_cast<unsigned>(usefulWorkers));
}
