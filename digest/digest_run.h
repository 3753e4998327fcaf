#pragma once
// The digests of many files in one run, for the console companion: one set of workers and read
// buffers serves every file. Files are spread over the workers, several in flight, each read and
// hashed by one worker, which is fastest for small files and for a large file with one digest. A
// large file with several digests goes back to the thread that waits for it, which reads it on
// while the workers share the digests (FeedFromOneRead), as ComputeFileDigests does.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "digest/chosen_contexts.h"
#include "digest/compute_file_digests.h"
#include "digest/file/digest_file.h"
#include "digest/file/read_buffers.h"
#include "digest/worker_pool.h"
#include "runtime/text.h"

// One file of a run. The caller sets what to read and which digests; the run sets the rest.
class DigestJob {
 public:
  DigestJob(Text path, bool standardInput, std::vector<DigestChoice> choices,
            FileKinds kinds = FileKinds::ANY_READABLE)
      : path(std::move(path)),
        standardInput(standardInput),
        choices(std::move(choices)),
        kinds(kinds) {}

  const Text path;
  const bool standardInput;  // read the process's standard input instead of `path`
  const std::vector<DigestChoice> choices;
  const FileKinds kinds;  // what `path` may open as

  // Results, set once the run has finished the job.
  std::vector<Text> digests;  // lower-case hex in the order of `choices`; all empty on a failure
  FileOpening opening{FileOpening::Outcome::OPENED, 0};  // how opening ended
  bool readFailed = false;  // opened, but a read failed (or memory ran out) on the way
  bool cancelled = false;   // the run was cancelled before the job's end: digests all empty

  // Progress while it runs, readable from any thread.
  std::atomic<uint64_t> bytesRead{0};
  std::atomic<int64_t> size{-1};  // -1 until known, and for a pipe, device or console

 private:
  friend class DigestRun;
  enum class Stage { WAITING, QUEUED, HANDED_BACK, DONE };
  Stage stage = Stage::WAITING;  // guarded by the run's lock once queued
  bool awaited = false;          // a thread waits in Finish for it; guarded by the run's lock
  DigestFile file;
  std::unique_ptr<ChosenContexts> contexts;
};

class DigestRun {
 public:
  // How often a thread waiting for a job is told that it is still waiting.
  static constexpr std::chrono::milliseconds WAITING_TICK{100};

  // Whether the thread waiting for a job reads the first piece of jobs queued behind it rather
  // than sleep: faster on many small files, but a read that stalls then holds up the job waited
  // for too, which a window that shows each file as it is done cannot have.
  enum class Waiting { SLEEPS, HELPS };

  explicit DigestRun(unsigned workers, Waiting waiting = Waiting::SLEEPS);
  ~DigestRun();

  // Queues the job for the workers; it must stay in place until Finish has returned for it.
  // Standard input waits for Finish: two readers of it at once would split it between them.
  void Start(DigestJob& job);
  // Waits for the job, or computes it on this thread if it was not started; `waiting` (may be
  // empty) is called as soon as the job is seen unfinished, then about every WAITING_TICK and
  // after each piece this thread reads, until it is done. While the job is not done, a run that
  // helps reads the first piece of jobs queued behind it. The calling thread must not be one of
  // the run's workers.
  void Finish(DigestJob& job, const std::function<void()>& waiting);
  // Safe on any thread, for a window's Cancel: jobs not yet opened end at once and jobs being
  // read stop before their next read, each marked cancelled; Finish still has to be called.
  void Cancel() { cancelling = true; }

 private:
  // When a job being read goes back to the thread that waits for it, to be read on by
  // FeedFromOneRead.
  enum class HandBack { NEVER, WITH_SEVERAL_DIGESTS, AFTER_ONE_PIECE };

  void Queue(DigestJob& job, bool urgent);
  // Opens and reads the job into `buffer`; false when it is handed back.
  bool Process(DigestJob& job, uint8_t* buffer, HandBack handBack,
               const std::function<void()>& afterEachRead);
  // Runs a queued job on the thread waiting for `job`, which is not done; false when none is
  // queued.
  bool HelpWhileWaiting(const DigestJob& job);
  void ReadOnShared(DigestJob& job, const std::function<void()>& waiting);

  ReadBuffers workerBuffers;
  ReadBuffers ownBuffers;  // the waiting thread's: the ring of a shared read
  std::mutex lock;
  std::condition_variable jobChanged;
  std::atomic<bool> cancelling{false};
  const Waiting waitingThread;
  WorkerPool pool;  // last: its workers go before what they use
};
