#include "tests/digest/feed_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "digest/compute_file_digest.h"
#include "digest/digest_plugin.h"
#include "tests/support/temp_files.h"

namespace {

constexpr size_t ALIGNMENT = 64;

// A copy of the message at a chosen distance from a 64-byte boundary.
struct PlacedCopy {
  PlacedCopy(const std::vector<uint8_t>& message, size_t offset)
      : storage(message.size() + ALIGNMENT + offset), size(message.size()) {
    const auto address = reinterpret_cast<uintptr_t>(storage.data());
    bytes = storage.data() + (ALIGNMENT - address % ALIGNMENT) % ALIGNMENT + offset;
    if (size) std::memcpy(bytes, message.data(), size);
  }
  std::vector<uint8_t> storage;
  size_t size;
  uint8_t* bytes;
};

// Piece sizes that often end near block edges and now and then span many blocks.
size_t RandomPieceSize(std::mt19937& random, const TestAlgorithm& algorithm) {
  const uint32_t block = std::max<uint32_t>(algorithm.blockBytes, 8);
  switch (random() % 4) {
    case 0:
      return random() % 8;
    case 1:
      return random() % (2 * block + 1);
    case 2:
      return block * (random() % 4) + random() % 3;  // whole blocks, give or take
    default:
      return random() % (64 * block);
  }
}

Text FeedPieces(const TestAlgorithm& algorithm, uint8_t* bytes, size_t size, std::mt19937* random) {
  const DigestPlugin* plugin = FindDigestPlugin(algorithm.id);
  DigestContext* context = plugin->create(algorithm.bits, 0);
  size_t done = 0;
  do {
    const size_t piece = random ? std::min(RandomPieceSize(*random, algorithm), size - done)
                                : std::min<size_t>(1, size - done);
    plugin->update(context, bytes + done, static_cast<uint32_t>(piece));
    done += piece;
  } while (done < size);
  plugin->finish(context);
  const Text text = DigestToHex(context);
  plugin->free(context);
  return text;
}

}  // namespace

Text DigestOf(const TestAlgorithm& algorithm, const uint8_t* message, size_t length) {
  PlacedCopy copy(std::vector<uint8_t>(message, message + length), 0);
  const DigestPlugin* plugin = FindDigestPlugin(algorithm.id);
  DigestContext* context = plugin->create(algorithm.bits, 0);
  plugin->update(context, copy.bytes, static_cast<uint32_t>(length));
  plugin->finish(context);
  const Text text = DigestToHex(context);
  plugin->free(context);
  return text;
}

Text DigestFedAs(FeedWay way, const TestAlgorithm& algorithm, const std::vector<uint8_t>& message,
                 std::mt19937& random) {
  switch (way) {
    case FEED_WHOLE:
      return DigestOf(algorithm, message.data(), message.size());
    case FEED_BYTE_BY_BYTE: {
      PlacedCopy copy(message, 0);
      return FeedPieces(algorithm, copy.bytes, copy.size, nullptr);
    }
    case FEED_RANDOM_SPLITS: {
      PlacedCopy copy(message, 0);
      return FeedPieces(algorithm, copy.bytes, copy.size, &random);
    }
    case FEED_UNALIGNED_SPLITS: {
      PlacedCopy copy(message, 1 + 2 * (random() % 4));  // 1, 3, 5 or 7
      return FeedPieces(algorithm, copy.bytes, copy.size, &random);
    }
    case FEED_THROUGH_FILE:
    default: {
      const Text path = WriteScratchFile("fed-through-file.bin", message);
      return ComputeFileDigest(path, algorithm.id, algorithm.bits);
    }
  }
}

void ExpectEveryFeedGives(const TestAlgorithm& algorithm, const std::vector<uint8_t>& message,
                          const Text& expected, const std::string& where, unsigned ways) {
  static const char* const WAY_NAMES[] = {"whole", "byte by byte", "in random splits",
                                          "unaligned in random splits", "through a file"};
  std::mt19937 random(static_cast<uint32_t>(message.size() * 2654435761u));
  for (int bit = 0; bit < 5; ++bit) {
    const auto way = static_cast<FeedWay>(1u << bit);
    if (!(ways & way)) continue;
    EXPECT_EQ(Utf8FromText(DigestFedAs(way, algorithm, message, random)), Utf8FromText(expected))
        << algorithm.name << " " << where << ", fed " << WAY_NAMES[bit] << " (" << message.size()
        << " bytes)";
  }
}
