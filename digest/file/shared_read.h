#pragma once
// Feeding several digest contexts from one read of their data.
#include <atomic>
#include <functional>
#include <vector>

#include "digest/digest_plugin.h"
#include "digest/file/digest_file.h"
#include "digest/file/read_buffers.h"
#include "digest/worker_pool.h"

// The buffers a read with workers cycles through: the reader runs a piece or two ahead of the
// slowest context while the buffers stay few enough to be found in the caches.
constexpr unsigned SHARED_READ_PIECES = 4;

// A context to feed and the plugin that made it. Contexts fed together must have been created
// with preserveInput 1: they read the same piece.
struct FedContext {
  const DigestPlugin* plugin;
  DigestContext* context;
};

// Told on the reading thread, after each piece is read, how many bytes it held.
using AfterEachRead = std::function<void(uint32_t length)>;

// Reads `source` from where it stands to its end once, in DIGEST_READ_SIZE pieces, and updates
// every context with every piece in order, the last (short, perhaps empty) piece included, as
// ComputeFileDigest does. Up to `workers` threads, started for this call, update the contexts
// while the calling thread reads; with one worker, or one context, the calling thread does it
// all. False when a read fails or the read buffers cannot be had; the contexts are then only
// part fed.
bool FeedFromOneRead(DigestFile& source, const std::vector<FedContext>& targets, unsigned workers);

// The same with a run's own workers and buffers: as many of the pool's workers as there are
// contexts update them, urgently, while the calling thread (which must not be one of the pool's)
// reads into `ring`, which holds at least SHARED_READ_PIECES buffers. `afterEachRead` may be
// empty. Once `stop` (may be null) is set, the read ends before its next piece, as a failed one.
bool FeedFromOneRead(DigestFile& source, const std::vector<FedContext>& targets, WorkerPool& pool,
                     ReadBuffers& ring, const AfterEachRead& afterEachRead,
                     const std::atomic<bool>* stop = nullptr);
