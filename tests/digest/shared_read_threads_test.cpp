// The one read that feeds several contexts, built with ThreadSanitizer: it reports any memory two
// threads touch with nothing ordering them, whichever way a run interleaves them, so a worker
// that touches a pass after the reader may have left it fails every run, not one in a hundred.
// The contexts only note which piece they were given, so that the threads, not the digests, are
// what is tested.
#include "digest/file/shared_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "digest/compute_file_digest.h"
#include "tests/support/temp_files.h"

namespace {

constexpr uint32_t PIECE = DIGEST_READ_SIZE;
constexpr unsigned CONTEXTS = 4;

// A piece as a context saw it: its length and its first and last eight bytes.
struct PieceSeen {
  uint32_t length;
  uint64_t first;
  uint64_t last;
  bool operator==(const PieceSeen&) const = default;
};

PieceSeen Seen(const uint8_t* bytes, uint32_t length) {
  PieceSeen seen{length, 0, 0};
  if (length >= 8) {
    std::memcpy(&seen.first, bytes, 8);
    std::memcpy(&seen.last, bytes + length - 8, 8);
  }
  return seen;
}

struct NotingContext : DigestContext {
  std::vector<PieceSeen> pieces;
};

void NoteUpdate(DigestContext* context, uint8_t* data, uint32_t length) {
  static_cast<NotingContext*>(context)->pieces.push_back(Seen(data, length));
}

const DigestPlugin NOTING_PLUGIN = {0, nullptr, NoteUpdate, nullptr, nullptr};

// Every piece of `bytes` as DIGEST_READ_SIZE reads give it, the last (short, perhaps empty) one
// included.
std::vector<PieceSeen> PiecesOf(const std::vector<uint8_t>& bytes) {
  std::vector<PieceSeen> pieces;
  for (size_t start = 0;; start += PIECE) {
    const uint32_t length = static_cast<uint32_t>(std::min<size_t>(PIECE, bytes.size() - start));
    pieces.push_back(Seen(bytes.data() + start, length));
    if (length != PIECE) return pieces;
  }
}

struct Contexts {
  NotingContext noted[CONTEXTS];
  std::vector<FedContext> targets;
  Contexts() {
    for (NotingContext& context : noted) targets.push_back({&NOTING_PLUGIN, &context});
  }
};

// More pieces than the ring holds, so that every buffer is read into again.
const std::vector<uint8_t>& FileBytes() {
  static const std::vector<uint8_t> bytes = RandomBytes(6 * PIECE + 5, 21);
  return bytes;
}

TEST(SharedReadThreads, EveryContextHasEveryPieceInOrderWhateverTheWorkers) {
  const Text path = WriteScratchFile("pieces.bin", FileBytes());
  const std::vector<PieceSeen> whole = PiecesOf(FileBytes());
  for (unsigned workers : {2u, 3u, 8u}) {
    for (int pass = 0; pass < 10; ++pass) {
      Contexts contexts;
      DigestFile file;
      ASSERT_TRUE(file.Open(path).Opened());
      ASSERT_TRUE(FeedFromOneRead(file, contexts.targets, workers));
      for (const NotingContext& context : contexts.noted) {
        ASSERT_EQ(context.pieces, whole) << workers << " workers";
      }
    }
  }
}

TEST(SharedReadThreads, OnePoolServesPassAfterPassAndAStoppedOneEndsCleanly) {
  const Text path = WriteScratchFile("pool.bin", FileBytes());
  const std::vector<PieceSeen> whole = PiecesOf(FileBytes());
  WorkerPool pool(3);
  ASSERT_EQ(pool.Size(), 3u);
  ReadBuffers ring(SHARED_READ_PIECES);
  for (int pass = 0; pass < 20; ++pass) {
    Contexts contexts;
    DigestFile file;
    ASSERT_TRUE(file.Open(path).Opened());
    std::atomic<bool> stop{false};
    const bool stopping = pass % 2 == 1;
    uint32_t piecesRead = 0;
    const bool fed = FeedFromOneRead(
        file, contexts.targets, pool, ring,
        [&](uint32_t) {
          if (++piecesRead == 2 && stopping) stop = true;
        },
        &stop);
    EXPECT_EQ(fed, !stopping) << "pass " << pass;
    // A stopped pass leaves each context with the pieces read before, or only the first of them.
    for (const NotingContext& context : contexts.noted) {
      const size_t had = context.pieces.size();
      EXPECT_TRUE(stopping ? had <= 2 : had == whole.size()) << had << " pieces, pass " << pass;
      EXPECT_TRUE(std::equal(context.pieces.begin(), context.pieces.end(), whole.begin()));
    }
  }
}

}  // namespace
