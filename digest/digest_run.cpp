#include "digest/digest_run.h"

#include "digest/compute_file_digest.h"

namespace {

void Fail(DigestJob& job) {
  job.digests.assign(job.choices.size(), Text());
}

void Cancelled(DigestJob& job) {
  job.cancelled = true;
  Fail(job);
}

// DigestFile::Read, counting each system read as it comes: a slow pipe shows its progress
// before a whole piece is in. -1 when a read fails or the run is cancelled.
int64_t ReadPiece(DigestFile& file, uint8_t* buffer, std::atomic<uint64_t>& bytesRead,
                  const std::atomic<bool>& cancelling, const std::function<void()>& afterEachRead) {
  uint32_t filled = 0;
  while (filled < DIGEST_READ_SIZE) {
    if (cancelling) return -1;
    const int64_t got = file.ReadSome(buffer + filled, DIGEST_READ_SIZE - filled);
    if (got < 0) return -1;
    if (got == 0) break;
    filled += static_cast<uint32_t>(got);
    bytesRead += static_cast<uint64_t>(got);
    if (afterEachRead) afterEachRead();
  }
  return filled;
}

}  // namespace

DigestRun::DigestRun(unsigned workers, Waiting waiting)
    : workerBuffers(workers),
      ownBuffers(SHARED_READ_PIECES),
      waitingThread(waiting),
      pool(workers) {}

DigestRun::~DigestRun() = default;

void DigestRun::Start(DigestJob& job) {
  if (!job.standardInput) Queue(job, false);
}

void DigestRun::Queue(DigestJob& job, bool urgent) {
  if (pool.Size() == 0) return;
  job.stage = DigestJob::Stage::QUEUED;
  auto task = [this, &job](unsigned worker) {
    // A worker number past the workers' is the waiting thread helping: a piece at most, so that
    // the job it waits for is not kept waiting behind a large file.
    const bool helping = worker == pool.Size();
    const bool done = Process(job, helping ? ownBuffers.At(0) : workerBuffers.At(worker),
                              helping           ? HandBack::AFTER_ONE_PIECE
                              : pool.Size() > 1 ? HandBack::WITH_SEVERAL_DIGESTS
                                                : HandBack::NEVER,
                              nullptr);
    bool wake;
    {
      std::lock_guard<std::mutex> held(lock);
      job.stage = done ? DigestJob::Stage::DONE : DigestJob::Stage::HANDED_BACK;
      // Only a thread waiting for this job is woken: one waiting for the first of many files in
      // flight would otherwise wake for each of the others.
      wake = job.awaited;
    }
    // The job may be gone from here on.
    if (wake) jobChanged.notify_all();
  };
  if (urgent) {
    pool.PostUrgent(task);
  } else {
    pool.Post(task);
  }
}

bool DigestRun::Process(DigestJob& job, uint8_t* buffer, HandBack handBack,
                        const std::function<void()>& afterEachRead) {
  if (cancelling) {
    Cancelled(job);
    return true;
  }
  if (job.standardInput) {
    if (!job.file.OpenStandardInput()) job.readFailed = true;
  } else {
    job.opening = job.kinds == FileKinds::REGULAR_ONLY ? job.file.OpenRegularFile(job.path)
                                                       : job.file.OpenAnyReadable(job.path);
  }
  if (!job.opening.Opened() || job.readFailed) {
    Fail(job);
    return true;
  }
  job.size = job.file.Size();
  job.contexts = std::make_unique<ChosenContexts>(job.choices);
  if (!buffer || !job.contexts->complete) {
    job.readFailed = true;
    Fail(job);
    return true;
  }
  for (;;) {
    const int64_t bytesRead = ReadPiece(job.file, buffer, job.bytesRead, cancelling, afterEachRead);
    if (bytesRead < 0) {
      if (cancelling) {
        Cancelled(job);
      } else {
        job.readFailed = true;
        Fail(job);
      }
      return true;
    }
    job.contexts->UpdateAll(buffer, static_cast<uint32_t>(bytesRead));
    if (bytesRead != DIGEST_READ_SIZE) {
      job.digests = job.contexts->Finish();
      job.contexts.reset();
      return true;
    }
    if (handBack == HandBack::AFTER_ONE_PIECE) return false;
    if (handBack == HandBack::WITH_SEVERAL_DIGESTS && job.choices.size() > 1) return false;
  }
}

void DigestRun::ReadOnShared(DigestJob& job, const std::function<void()>& waiting) {
  const bool fed = FeedFromOneRead(
      job.file, job.contexts->targets, pool, ownBuffers,
      [&](uint32_t length) {
        job.bytesRead += length;
        if (waiting) waiting();
      },
      &cancelling);
  if (fed) {
    job.digests = job.contexts->Finish();
  } else if (cancelling) {
    Cancelled(job);
  } else {
    job.readFailed = true;
    Fail(job);
  }
  job.contexts.reset();
}

bool DigestRun::HelpWhileWaiting(const DigestJob& job) {
  // Standard input is left to the workers, so that this thread can tell that a pipe stalls; a
  // shared read needs two workers.
  if (waitingThread == Waiting::SLEEPS || job.standardInput || pool.Size() < 2) return false;
  return pool.RunOneQueued(pool.Size());
}

void DigestRun::Finish(DigestJob& job, const std::function<void()>& waiting) {
  // Standard input is read in its turn, by a worker: this thread keeps telling how long a pipe
  // that has stalled keeps it waiting.
  if (job.stage == DigestJob::Stage::WAITING && job.standardInput) Queue(job, true);
  if (job.stage == DigestJob::Stage::WAITING) {
    const HandBack handBack = pool.Size() > 1 ? HandBack::WITH_SEVERAL_DIGESTS : HandBack::NEVER;
    if (!Process(job, ownBuffers.At(0), handBack, waiting)) ReadOnShared(job, waiting);
    job.stage = DigestJob::Stage::DONE;
    return;
  }
  for (bool wait = false;; wait = !HelpWhileWaiting(job)) {
    DigestJob::Stage stage;
    {
      std::unique_lock<std::mutex> held(lock);
      if (wait) {
        job.awaited = true;
        jobChanged.wait_for(held, WAITING_TICK, [&] {
          return job.stage == DigestJob::Stage::DONE || job.stage == DigestJob::Stage::HANDED_BACK;
        });
        job.awaited = false;
      }
      stage = job.stage;
    }
    if (stage == DigestJob::Stage::DONE) return;
    if (stage == DigestJob::Stage::HANDED_BACK) {
      ReadOnShared(job, waiting);
      job.stage = DigestJob::Stage::DONE;
      return;
    }
    if (waiting) waiting();
  }
}
