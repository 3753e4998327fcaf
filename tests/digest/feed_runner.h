#pragma once
// The one runner for known answers: it feeds a message to the registered plugin in every way the
// engine must treat alike and checks each digest.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "tests/digest/backends_under_test.h"

enum FeedWay : unsigned {
  FEED_WHOLE = 1,  // one update from an aligned address
  FEED_BYTE_BY_BYTE = 2,
  FEED_RANDOM_SPLITS = 4,     // pieces of random sizes from an aligned address
  FEED_UNALIGNED_SPLITS = 8,  // the same from an odd address
  FEED_THROUGH_FILE = 16,     // ComputeFileDigest on a scratch file
  FEED_EVERY_WAY = 31,
};

// The digest of `message` fed one way, as lower-case hexadecimal text. Every way works on its own
// copy, since a plugin may overwrite what it is fed.
Text DigestFedAs(FeedWay way, const TestAlgorithm& algorithm, const std::vector<uint8_t>& message,
                 std::mt19937& random);

// Checks the digest of every way in `ways` against `expected`; `where` names the vector.
void ExpectEveryFeedGives(const TestAlgorithm& algorithm, const std::vector<uint8_t>& message,
                          const Text& expected, const std::string& where,
                          unsigned ways = FEED_EVERY_WAY);

// The digest of `message` in one update, straight through the plugin.
Text DigestOf(const TestAlgorithm& algorithm, const uint8_t* message, size_t length);
