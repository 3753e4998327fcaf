// The rules of each plugin beyond its digests: SHA-1's preserveInput, the `bits` argument, SHA-3
// after finishing, registration and memory. The padding edges (55, 56, 63, 64 and 65 bytes, 111
// and 112, rate - 1 and rate) lie among the lengths the differential test checks one by one.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "digest/compute_file_digest.h"
#include "digest/crc32/crc32.h"
#include "digest/digest_plugin.h"
#include "digest/md5/md5.h"
#include "digest/register_digest_plugins.h"
#include "digest/sha1/sha1.h"
#include "digest/sha2/sha2.h"
#include "digest/sha3/sha3.h"
#include "runtime/main_heap.h"
#include "tests/digest/backends_under_test.h"
#include "tests/digest/feed_runner.h"
#include "tests/support/temp_files.h"

namespace {

class PluginRules : public testing::Test {
 protected:
  void SetUp() override { RegisterDigestPlugins(); }
};

const TestAlgorithm& AlgorithmNamed(const std::string& name) {
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    if (name == algorithm.name) return algorithm;
  }
  throw std::invalid_argument(name);
}

// Feeds `data` in one update to a new context and returns its hex digest.
Text FeedOnce(int32_t id, int32_t bits, int32_t preserveInput, uint8_t* data, uint32_t length) {
  const DigestPlugin* plugin = FindDigestPlugin(id);
  DigestContext* context = plugin->create(bits, preserveInput);
  plugin->update(context, data, length);
  plugin->finish(context);
  const Text text = DigestToHex(context);
  plugin->free(context);
  return text;
}

// What the block function leaves in a block: the last 16 words of the FIPS 180-4 message
// schedule, W64 to W79, in the processor's byte order.
std::vector<uint8_t> Sha1ScheduleTail(const uint8_t* block) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) {
    w[t] = uint32_t{block[4 * t]} << 24 | uint32_t{block[4 * t + 1]} << 16 |
           uint32_t{block[4 * t + 2]} << 8 | block[4 * t + 3];
  }
  for (int t = 16; t < 80; ++t) w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  std::vector<uint8_t> tail(64);
  std::memcpy(tail.data(), w + 64, 64);
  return tail;
}

// The schedule in the caller's blocks is the generic block function's doing; the accelerated ones
// keep it in registers and leave the blocks alone (the backend comparison checks that).
TEST_F(PluginRules, GenericSha1WithoutPreserveInputTransformsTheCallersBlocksWhereTheyLie) {
  const ScopedDigestBackend generic(DIGEST_SHA1, 0, "generic");
  ASSERT_TRUE(generic.InUse());
  const std::vector<uint8_t> original = RandomBytes(256, 21);
  std::vector<uint8_t> overwritten = original;
  std::vector<uint8_t> preserved = original;
  const Text expected = DigestOf(AlgorithmNamed("Sha1"), original.data(), original.size());

  EXPECT_EQ(FeedOnce(DIGEST_SHA1, 0, 0, overwritten.data(), 256), expected);
  EXPECT_EQ(FeedOnce(DIGEST_SHA1, 0, 1, preserved.data(), 256), expected);

  EXPECT_EQ(preserved, original);
  // The first block went through the context's own buffer; the other three were worked on in
  // place and hold their schedules.
  EXPECT_TRUE(std::equal(original.begin(), original.begin() + 64, overwritten.begin()));
  for (size_t block = 64; block < 256; block += 64) {
    const std::vector<uint8_t> tail = Sha1ScheduleTail(original.data() + block);
    EXPECT_TRUE(
        std::equal(tail.begin(), tail.end(), overwritten.begin() + static_cast<long>(block)))
        << "block at " << block;
  }
}

TEST_F(PluginRules, Sha1LeavesASingleBlockOnAnEmptyBufferAloneEitherWay) {
  const std::vector<uint8_t> original = RandomBytes(64, 22);
  for (int32_t preserveInput : {0, 1}) {
    std::vector<uint8_t> bytes = original;
    EXPECT_EQ(FeedOnce(DIGEST_SHA1, 0, preserveInput, bytes.data(), 64),
              DigestOf(AlgorithmNamed("Sha1"), original.data(), 64));
    EXPECT_EQ(bytes, original) << "preserveInput " << preserveInput;
  }
}

TEST_F(PluginRules, BitsZeroMeans256ForSha2AndSha3) {
  const Text path = WriteScratchFile("bits-zero.bin", RandomBytes(5000, 23));
  for (int32_t id : {DIGEST_SHA2, DIGEST_SHA3}) {
    const Text text = ComputeFileDigest(path, id);
    EXPECT_EQ(text.size(), 64u);
    EXPECT_EQ(text, ComputeFileDigest(path, id, 256));
    DigestContext* context = FindDigestPlugin(id)->create(0, 0);
    EXPECT_EQ(context->bits, 256);
    FindDigestPlugin(id)->free(context);
  }
}

TEST_F(PluginRules, Sha2AndSha3RefuseOtherSizesWithoutAllocating) {
  const Text path = WriteScratchFile("bits-refused.bin", "abc");
  for (int32_t id : {DIGEST_SHA2, DIGEST_SHA3}) {
    for (int32_t bits : {100, 160, 1024, 32, -256, 255}) {
      const size_t before = MainHeapBytesInUse();
      EXPECT_EQ(FindDigestPlugin(id)->create(bits, 0), nullptr) << "id " << id << " bits " << bits;
      EXPECT_EQ(MainHeapBytesInUse(), before);
      EXPECT_EQ(ComputeFileDigest(path, id, bits), L"") << "id " << id << " bits " << bits;
    }
  }
}

TEST_F(PluginRules, Md5AndSha1IgnoreBits) {
  const Text path = WriteScratchFile("bits-ignored.bin", RandomBytes(777, 24));
  for (int32_t id : {DIGEST_MD5, DIGEST_SHA1}) {
    const Text plain = ComputeFileDigest(path, id);
    EXPECT_EQ(plain.size(), id == DIGEST_MD5 ? 32u : 40u);
    for (int32_t bits : {-5, 7, 160, 256, 512}) EXPECT_EQ(ComputeFileDigest(path, id, bits), plain);
  }
}

TEST_F(PluginRules, ShorterSha2AndSha3AreNotPrefixesOfLongerOnes) {
  const Text path = WriteScratchFile("prefix.bin", RandomBytes(1234, 25));
  for (int32_t id : {DIGEST_SHA2, DIGEST_SHA3}) {
    const Text text224 = ComputeFileDigest(path, id, 224);
    const Text text384 = ComputeFileDigest(path, id, 384);
    ASSERT_EQ(text224.size(), 56u);
    ASSERT_EQ(text384.size(), 96u);
    EXPECT_NE(text224, ComputeFileDigest(path, id, 256).substr(0, 56));
    EXPECT_NE(text384, ComputeFileDigest(path, id, 512).substr(0, 96));
  }
}

TEST_F(PluginRules, Sha3IgnoresUpdatesAfterFinishingAndFinishesAgainAlike) {
  const std::vector<uint8_t> message = RandomBytes(300, 26);
  std::vector<uint8_t> more = RandomBytes(500, 27);
  for (int32_t bits : {224, 256, 384, 512}) {
    const DigestPlugin* sha3 = FindDigestPlugin(DIGEST_SHA3);
    DigestContext* context = sha3->create(bits, 0);
    std::vector<uint8_t> copy = message;
    sha3->update(context, copy.data(), 300);
    sha3->finish(context);
    const Text first = DigestToHex(context);
    sha3->update(context, more.data(), 500);
    sha3->finish(context);
    EXPECT_EQ(DigestToHex(context), first);
    sha3->free(context);
    const TestAlgorithm algorithm{"", DIGEST_SHA3, bits, 0};
    EXPECT_EQ(first, DigestOf(algorithm, message.data(), message.size()));
  }
}

// Operations of no algorithm, put in the place of the program's own so that a registration that
// writes into a taken slot shows: writing the same operations again would not.
DigestContext* StandInCreate(int32_t, int32_t) {
  return nullptr;
}
void StandInUpdate(DigestContext*, uint8_t*, uint32_t) {}
void StandInFinish(DigestContext*) {}
void StandInFree(DigestContext*) {}

bool HoldsStandIn(const DigestPlugin& slot, int32_t id) {
  return slot.id == id && slot.create == StandInCreate && slot.update == StandInUpdate &&
         slot.finish == StandInFinish && slot.free == StandInFree;
}

TEST_F(PluginRules, EveryRegistrationAnswersOneAndLeavesATakenSlotAlone) {
  const int32_t ids[] = {DIGEST_CRC32, DIGEST_MD5, DIGEST_SHA1, DIGEST_SHA2, DIGEST_SHA3};
  std::vector<DigestPlugin> own;
  for (const int32_t id : ids) {
    auto* slot = const_cast<DigestPlugin*>(FindDigestPlugin(id));
    own.push_back(*slot);
    *slot = DigestPlugin{id, StandInCreate, StandInUpdate, StandInFinish, StandInFree};
  }
  const std::vector<int> answers = {RegisterCrc32Plugin(), RegisterMd5Plugin(),
                                    RegisterSha1Plugin(), RegisterSha2Plugin(),
                                    RegisterSha3Plugin()};
  RegisterDigestPlugins();
  std::vector<bool> keptStandIn;
  for (size_t i = 0; i < own.size(); ++i) {
    auto* slot = const_cast<DigestPlugin*>(FindDigestPlugin(ids[i]));
    keptStandIn.push_back(HoldsStandIn(*slot, ids[i]));
    *slot = own[i];
  }
  EXPECT_EQ(answers, std::vector<int>(5, 1));
  EXPECT_EQ(keptStandIn, std::vector<bool>(5, true));
  EXPECT_EQ(FindDigestPlugin(DIGEST_FIRST_REGISTERED), FindDigestPlugin(DIGEST_CRC32));
}

TEST_F(PluginRules, EveryComputationGivesItsMemoryBack) {
  const Text path = WriteScratchFile("memory.bin", RandomBytes(DIGEST_READ_SIZE + 100, 28));
  ComputeFileDigest(path, DIGEST_SHA3, 512);  // the heap's own first-use costs are not ours
  const size_t before = MainHeapBytesInUse();
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    EXPECT_FALSE(ComputeFileDigest(path, algorithm.id, algorithm.bits).empty()) << algorithm.name;
  }
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_SHA2, 100), L"");
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

}  // namespace
