#pragma once
// Feeding several digest contexts from one read of their data.
#include <vector>

#include "digest/file/digest_file.h"
#include "digest/digest_plugin.h"

// A context to feed and the plugin that made it. Contexts fed together must have been created
// with preserveInput 1: they read the same piece.
struct FedContext {
  const DigestPlugin* plugin;
  DigestContext* context;
};

// Reads `source` to its end once, in DIGEST_READ_SIZE pieces, and updates every context with
// every piece in order, the last (short, perhaps empty) piece included, as ComputeFileDigest
// does. Up to `workers` threads update the contexts while the calling thread reads; with one
// worker, or one context, the calling thread does it all. False when a read fails or the read
// buffers cannot be had; the contexts are then only part fed.
bool FeedFromOneRead(DigestFile& source, const std::vector<FedContext>& targets, unsigned workers);
