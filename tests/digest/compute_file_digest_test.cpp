// The framework's read loop, offsets, failures and registry rules, observed through a plugin
// that records what the framework hands it.
#include "digest/compute_file_digest.h"

#include <gtest/gtest.h>

#include <vector>

#include "digest/crc32/crc32.h"
#include "runtime/main_heap.h"
#include "tests/digest/recording_plugin.h"
#include "tests/support/temp_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// CRC32 first, as at start-up, so that id -1 selects it.
[[maybe_unused]] const int crc32Registered = RegisterCrc32Plugin();

constexpr int32_t SECOND_TEST_ID = 101;

// The piece size the engine documents; restated here so that a change of the engine's constant
// shows.
constexpr uint32_t MEBIBYTE = 1048576;

Text Crc32Text(const std::vector<uint8_t>& bytes, size_t from) {
  const uint32_t crc =
      Crc32Update(bytes.data() + from, static_cast<uint32_t>(bytes.size() - from), 0);
  wchar_t buffer[9];
  swprintf(buffer, 9, L"%08x", crc);
  return buffer;
}

// An id no plugin registers.
constexpr int32_t UNREGISTERED_ID = DIGEST_REGISTRY_SLOTS - 1;

TEST(ReadLoop, ReadsInMebibytePiecesAndEndsWithTheShortRead) {
  ASSERT_NE(RecordingPluginId(), 0);
  const Text exact = WriteScratchFile("exact.bin", std::vector<uint8_t>(MEBIBYTE, 1));
  EXPECT_EQ(UpdateSizesFor(exact), (std::vector<uint32_t>{MEBIBYTE, 0}));
  const Text oneMore = WriteScratchFile("one-more.bin", std::vector<uint8_t>(MEBIBYTE + 1, 1));
  EXPECT_EQ(UpdateSizesFor(oneMore), (std::vector<uint32_t>{MEBIBYTE, 1}));
  EXPECT_EQ(UpdateSizesFor(WriteScratchFile("none.bin", "")), (std::vector<uint32_t>{0}));
  EXPECT_EQ(recording.finishCount, 1);
  EXPECT_EQ(recording.createArguments, (std::vector<int32_t>{0, 0}));
}

TEST(ReadLoop, LengthLimitsTheRequests) {
  const Text path = WriteScratchFile("limited.bin", std::vector<uint8_t>(2 * MEBIBYTE + 5, 2));
  EXPECT_EQ(UpdateSizesFor(path, 0, 100), (std::vector<uint32_t>{100}));
  EXPECT_EQ(UpdateSizesFor(path, 0, 0), (std::vector<uint32_t>{0}));
  EXPECT_EQ(UpdateSizesFor(path, 0, MEBIBYTE), (std::vector<uint32_t>{MEBIBYTE, 0}));
  EXPECT_EQ(UpdateSizesFor(path, 0, MEBIBYTE + 7), (std::vector<uint32_t>{MEBIBYTE, 7}));
  EXPECT_EQ(UpdateSizesFor(path, 3, -1), (std::vector<uint32_t>{MEBIBYTE, MEBIBYTE, 2}));
}

TEST(Offset, SelectsWhereTheDigestStarts) {
  const std::vector<uint8_t> bytes = RandomBytes(100, 3);
  const Text path = WriteScratchFile("hundred.bin", bytes);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32, 0, 10), Crc32Text(bytes, 10));
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32, 0, -1), Crc32Text(bytes, 0));
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32, 0, 100), L"00000000");
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32, 0, 5000), L"00000000");
}

TEST(Offset, ReachesPastFourGibibytes) {
  // Only the high half of the offset selects this position; a lost high half reads from 16.
  const std::vector<uint8_t> bytes = RandomBytes(100, 4);
  const Text path = WriteScratchFile("offset-high.bin", bytes);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32, 0, (int64_t{1} << 32) + 16), L"00000000");
}

TEST(Failures, UnknownIdsGiveTheEmptyTextAndMinusOneSelectsCrc32) {
  const Text path = WriteScratchFile("digits-again.txt", "123456789");
  EXPECT_EQ(ComputeFileDigest(path, 0), L"");
  EXPECT_EQ(ComputeFileDigest(path, UNREGISTERED_ID), L"");
  EXPECT_EQ(ComputeFileDigest(path, -1), L"cbf43926");
}

TEST(Failures, UnopenablePathsGiveTheEmptyText) {
  EXPECT_EQ(ComputeFileDigest(TextFromPath(ScratchFolder() / "missing.bin"), DIGEST_CRC32), L"");
  EXPECT_EQ(ComputeFileDigest(TextFromPath(ScratchFolder()), DIGEST_CRC32), L"");
  EXPECT_EQ(ComputeFileDigest(L"", DIGEST_CRC32), L"");
  // An embedded zero must not quietly name the shorter path in front of it.
  const Text path = WriteScratchFile("zero", "123456789");
  EXPECT_EQ(ComputeFileDigest(path + Text(1, L'\0') + L"tail", DIGEST_CRC32), L"");
}

TEST(Failures, EveryPathGivesItsMemoryBack) {
  const Text path = WriteScratchFile("memory.bin", RandomBytes(MEBIBYTE + 3, 9));
  ComputeFileDigest(path, DIGEST_CRC32);  // the heap's own first-use costs are not ours
  const size_t before = MainHeapBytesInUse();
  ComputeFileDigest(path, DIGEST_CRC32);
  ComputeFileDigest(path, UNREGISTERED_ID);
  ComputeFileDigest(TextFromPath(ScratchFolder() / "missing.bin"), DIGEST_CRC32);
  ComputeFileDigest(path, RecordingPluginId());
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

#ifdef _WIN32
TEST(Failures, FileHeldOpenForWritingGivesTheEmptyText) {
  const Text path = WriteScratchFile("held.bin", "123456789");
  HANDLE writer =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32), L"");
  CloseHandle(writer);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32), L"cbf43926");
}

#endif

TEST(Registry, RepeatedIdKeepsTheFirstPlugin) {
  DigestPlugin* first = RegisterDigestPlugin(SECOND_TEST_ID);
  ASSERT_NE(first, nullptr);
  *first = *FindDigestPlugin(RecordingPluginId());
  first->id = SECOND_TEST_ID;
  EXPECT_EQ(RegisterDigestPlugin(SECOND_TEST_ID), nullptr);
  EXPECT_EQ(FindDigestPlugin(SECOND_TEST_ID), first);

  const DigestPlugin* crc32 = FindDigestPlugin(DIGEST_CRC32);
  EXPECT_EQ(RegisterCrc32Plugin(), 1);
  EXPECT_EQ(FindDigestPlugin(DIGEST_CRC32), crc32);
  EXPECT_EQ(FindDigestPlugin(-1), crc32);
  EXPECT_EQ(RegisterDigestPlugin(-1), nullptr);
  EXPECT_EQ(FindDigestPlugin(7), nullptr);
}

TEST(Hex, RendersBitsOverEightBytesInLowerCase) {
  DigestContext context{};
  EXPECT_EQ(DigestToHex(nullptr), L"");
  EXPECT_EQ(DigestToHex(&context), L"");
  context.bits = 512;
  for (int i = 0; i < DIGEST_MAX_BYTES; ++i) context.digest[i] = static_cast<uint8_t>(i * 37 + 1);
  const Text text = DigestToHex(&context);
  ASSERT_EQ(text.size(), 128u);
  EXPECT_EQ(text.substr(0, 6), L"01264b");
  EXPECT_EQ(text.find_first_not_of(L"0123456789abcdef"), Text::npos);
}

}  // namespace
