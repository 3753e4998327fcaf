#include "tests/digest/backend_comparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "digest/backend_selection.h"
#include "digest/compute_file_digest.h"
#include "digest/digest_plugin.h"
#include "tests/support/temp_files.h"

namespace {

constexpr int MEBIBYTE_MESSAGES = 3;
// Room for a message of 1 MiB plus the longest random length (six of the largest edge).
constexpr size_t POOL_BYTES = DIGEST_READ_SIZE + 16384;

struct Digest {
  uint8_t bytes[DIGEST_MAX_BYTES];
  int32_t bits;
  bool operator==(const Digest& other) const {
    return bits == other.bits && std::memcmp(bytes, other.bytes, bits / 8) == 0;
  }
};

// The lengths where this algorithm's backends change course.
std::vector<size_t> EdgeSizes(const TestAlgorithm& algorithm) {
  if (algorithm.id == DIGEST_CRC32) return {16, 64, 128, 256, 2048};
  return {algorithm.blockBytes};
}

// A length near an edge most of the time, otherwise anything up to a few blocks.
size_t RandomLength(std::mt19937& random, const std::vector<size_t>& edges) {
  const size_t edge = edges[random() % edges.size()];
  if (random() % 8 == 0) return random() % (6 * edge);
  const size_t multiple = edge * (random() % 5);
  const size_t nearby = random() % 7;  // up to three bytes either side
  return multiple + nearby >= 3 ? multiple + nearby - 3 : 0;
}

// The message fed in random pieces (sometimes whole), in update sizes up to 1 MiB.
Digest DigestInPieces(const TestAlgorithm& algorithm, uint8_t* bytes, size_t length,
                      std::mt19937& random) {
  const DigestPlugin* plugin = FindDigestPlugin(algorithm.id);
  DigestContext* context = plugin->create(algorithm.bits, 0);
  const bool whole = random() % 4 == 0;
  size_t done = 0;
  while (done < length) {
    size_t piece = whole ? DIGEST_READ_SIZE : 1 + random() % (3 * algorithm.blockBytes + 64);
    piece = std::min({piece, length - done, size_t{DIGEST_READ_SIZE}});
    plugin->update(context, bytes + done, static_cast<uint32_t>(piece));
    done += piece;
  }
  plugin->finish(context);
  Digest digest{};
  digest.bits = context->bits;
  std::memcpy(digest.bytes, context->digest, sizeof digest.bytes);
  plugin->free(context);
  return digest;
}

}  // namespace

void ExpectSameDigestsAsGeneric(const TestAlgorithm& algorithm, const std::string& backend,
                                const ProcessorFeatures& runsOn, int messageCount) {
  const std::vector<uint8_t> pool = RandomBytes(POOL_BYTES, 31);
  std::vector<uint8_t> fed(POOL_BYTES + 8);
  std::vector<uint8_t> genericCopy(POOL_BYTES);
  std::mt19937 random(17);
  const std::vector<size_t> edges = EdgeSizes(algorithm);

  for (int message = 0; message < messageCount; ++message) {
    const bool aroundMebibyte = message % (messageCount / MEBIBYTE_MESSAGES) == 0;
    const size_t length =
        aroundMebibyte ? DIGEST_READ_SIZE + RandomLength(random, edges) - 2 * algorithm.blockBytes
                       : RandomLength(random, edges);
    const size_t start = random() % (POOL_BYTES - length + 1);
    uint8_t* bytes = fed.data() + random() % 8;
    std::memcpy(bytes, pool.data() + start, length);

    ASSERT_TRUE(UseDigestBackend(algorithm.id, algorithm.bits, backend, runsOn)) << backend;
    const Digest accelerated = DigestInPieces(algorithm, bytes, length, random);
    ASSERT_EQ(std::memcmp(bytes, pool.data() + start, length), 0)
        << "the " << backend << " backend wrote into the caller's " << length << " bytes";

    std::memcpy(genericCopy.data(), bytes, length);
    UseDigestBackend(algorithm.id, algorithm.bits, "generic");
    const Digest generic = DigestInPieces(algorithm, genericCopy.data(), length, random);
    ASSERT_TRUE(accelerated == generic) << algorithm.name << " on " << backend << ", message "
                                        << message << " of " << length << " bytes";
  }
}
