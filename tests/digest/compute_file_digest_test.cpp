// The framework's read loop, offsets, failures and registry rules, observed through a plugin
// that records what the framework hands it.
#include "digest/compute_file_digest.h"

#include <gtest/gtest.h>

#include <vector>

#include "digest/crc32.h"
#include "runtime/main_heap.h"
#include "tests/support/temp_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// CRC32 first, as at start-up, so that id -1 selects it.
[[maybe_unused]] const int crc32Registered = RegisterCrc32Plugin();

constexpr int32_t RECORDING_ID = 100;
constexpr int32_t SECOND_TEST_ID = 101;

// What the recording plugin saw during the last computation.
struct Recording {
  std::vector<uint32_t> updateSizes;
  std::vector<int32_t> createArguments;
  int finishCount = 0;
} recording;

DigestContext* RecordingCreate(int32_t bits, int32_t preserveInput) {
  recording.createArguments = {bits, preserveInput};
  auto* context = static_cast<DigestContext*>(AllocateFromMainHeap(sizeof(DigestContext)));
  context->bits = 32;
  return context;
}
void RecordingUpdate(DigestContext*, uint8_t*, uint32_t length) { recording.updateSizes.push_back(length); }
void RecordingFinish(DigestContext* context) {
  ++recording.finishCount;
  context->digest[0] = 0xAB;
}
void RecordingFree(DigestContext* context) { ReleaseToMainHeap(context); }

const bool recordingRegistered = [] {
  DigestPlugin* slot = RegisterDigestPlugin(RECORDING_ID);
  *slot = DigestPlugin{RECORDING_ID, RecordingCreate, RecordingUpdate, RecordingFinish, RecordingFree};
  return true;
}();

std::vector<uint32_t> UpdateSizesFor(const Text& path, int64_t offset = 0, int64_t length = -1) {
  recording = Recording{};
  ComputeFileDigestRange(path, RECORDING_ID, 0, offset, length);
  return recording.updateSizes;
}

Text Crc32Text(const std::vector<uint8_t>& bytes, size_t from) {
  const uint32_t crc = Crc32Update(bytes.data() + from, static_cast<uint32_t>(bytes.size() - from), 0);
  wchar_t buffer[9];
  swprintf(buffer, 9, L"%08x", crc);
  return buffer;
}

TEST(ReadLoop, ReadsInMebibytePiecesAndEndsWithTheShortRead) {
  ASSERT_TRUE(recordingRegistered);
  const Text exact = WriteScratchFile("exact.bin", std::vector<uint8_t>(DIGEST_READ_SIZE, 1));
  EXPECT_EQ(UpdateSizesFor(exact), (std::vector<uint32_t>{DIGEST_READ_SIZE, 0}));
  const Text oneMore = WriteScratchFile("one-more.bin", std::vector<uint8_t>(DIGEST_READ_SIZE + 1, 1));
  EXPECT_EQ(UpdateSizesFor(oneMore), (std::vector<uint32_t>{DIGEST_READ_SIZE, 1}));
  EXPECT_EQ(UpdateSizesFor(WriteScratchFile("none.bin", "")), (std::vector<uint32_t>{0}));
  EXPECT_EQ(recording.finishCount, 1);
  EXPECT_EQ(recording.createArguments, (std::vector<int32_t>{0, 0}));
}

TEST(ReadLoop, LengthLimitsTheRequests) {
  const Text path = WriteScratchFile("limited.bin", std::vector<uint8_t>(2 * DIGEST_READ_SIZE + 5, 2));
  EXPECT_EQ(UpdateSizesFor(path, 0, 100), (std::vector<uint32_t>{100}));
  EXPECT_EQ(UpdateSizesFor(path, 0, 0), (std::vector<uint32_t>{0}));
  EXPECT_EQ(UpdateSizesFor(path, 0, DIGEST_READ_SIZE), (std::vector<uint32_t>{DIGEST_READ_SIZE, 0}));
  EXPECT_EQ(UpdateSizesFor(path, 0, DIGEST_READ_SIZE + 7), (std::vector<uint32_t>{DIGEST_READ_SIZE, 7}));
  EXPECT_EQ(UpdateSizesFor(path, 3, -1), (std::vector<uint32_t>{DIGEST_READ_SIZE, DIGEST_READ_SIZE, 2}));
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
  EXPECT_EQ(ComputeFileDigest(path, 6), L"");
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
  const Text path = WriteScratchFile("memory.bin", RandomBytes(DIGEST_READ_SIZE + 3, 9));
  ComputeFileDigest(path, DIGEST_CRC32);  // the heap's own first-use costs are not ours
  const size_t before = MainHeapBytesInUse();
  ComputeFileDigest(path, DIGEST_CRC32);
  ComputeFileDigest(path, 6);
  ComputeFileDigest(TextFromPath(ScratchFolder() / "missing.bin"), DIGEST_CRC32);
  ComputeFileDigest(path, RECORDING_ID);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

#ifdef _WIN32
TEST(Failures, FileHeldOpenForWritingGivesTheEmptyText) {
  const Text path = WriteScratchFile("held.bin", "123456789");
  HANDLE writer = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32), L"");
  CloseHandle(writer);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32), L"cbf43926");
}

// Under Wine the Linux process-memory file opens as a Windows file, and reading its unmapped
// first page fails; a real failing read without any hook in the engine.
bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(Failures, ReadFailingPartWayGivesTheEmptyText) {
  if (!RunningUnderWine()) GTEST_SKIP() << "needs Wine's view of /proc";
  recording = Recording{};
  EXPECT_EQ(ComputeFileDigest(L"Z:\\proc\\self\\mem", RECORDING_ID), L"");
  EXPECT_TRUE(recording.updateSizes.empty());
  EXPECT_EQ(recording.finishCount, 0);
  EXPECT_EQ(ComputeFileDigest(L"Z:\\proc\\self\\mem", DIGEST_CRC32), L"");
}
#else
TEST(Failures, ReadFailingPartWayGivesTheEmptyText) {
  // This process's memory file opens, but reading its unmapped first page fails.
  recording = Recording{};
  EXPECT_EQ(ComputeFileDigest(L"/proc/self/mem", RECORDING_ID), L"");
  EXPECT_TRUE(recording.updateSizes.empty());
  EXPECT_EQ(recording.finishCount, 0);
  EXPECT_EQ(ComputeFileDigest(L"/proc/self/mem", DIGEST_CRC32), L"");
}
#endif

TEST(Registry, RepeatedIdKeepsTheFirstPlugin) {
  DigestPlugin* first = RegisterDigestPlugin(SECOND_TEST_ID);
  ASSERT_NE(first, nullptr);
  *first = DigestPlugin{SECOND_TEST_ID, RecordingCreate, RecordingUpdate, RecordingFinish, RecordingFree};
  EXPECT_EQ(RegisterDigestPlugin(SECOND_TEST_ID), nullptr);
  EXPECT_EQ(FindDigestPlugin(SECOND_TEST_ID), first);
  EXPECT_EQ(FindDigestPlugin(SECOND_TEST_ID)->create, RecordingCreate);

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
