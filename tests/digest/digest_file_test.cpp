// What the file layer opens and how it reads: devices and pipes are refused at once, short reads
// are read on, and the file stays open to readers but not to writers. Linux files serve as the
// real devices, short readers and failing readers, natively and under Wine through drive Z:.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>
#include <thread>

#include "digest/compute_file_digest.h"
#include "digest/file/digest_file.h"
#include "digest/crc32/crc32.h"
#include "tests/digest/recording_plugin.h"
#include "tests/support/temp_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

[[maybe_unused]] const int crc32Registered = RegisterCrc32Plugin();

constexpr uint32_t MEBIBYTE = 1048576;  // the piece size the engine documents

// A Linux file by its Linux path; under Wine the same file through drive Z:.
std::filesystem::path LinuxFile(const std::string& path) {
#ifdef _WIN32
  std::wstring windowsPath = L"Z:" + TextFromUtf8(path);
  for (wchar_t& unit : windowsPath) unit = unit == L'/' ? L'\\' : unit;
  return windowsPath;
#else
  return path;
#endif
}

bool LinuxFilesVisible() {
#ifdef _WIN32
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
  return true;
#endif
}

// Runs `work`, and ends the whole test program if it has not returned within 20 s: a device that
// never ends must fail the run, not stall it.
template <typename Work>
void FinishesInTime(const Text& what, Work work) {
  std::promise<void> finished;
  std::thread watchdog([done = finished.get_future(), what] {
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
      std::fprintf(stderr, "reading %s did not return\n", Utf8FromText(what).c_str());
      std::_Exit(1);
    }
  });
  work();
  finished.set_value();
  watchdog.join();
}

void ExpectRefusedAtOnce(const Text& path) {
  FinishesInTime(path, [&] {
    recording = Recording{};
    EXPECT_EQ(ComputeFileDigest(path, RecordingPluginId()), L"") << Utf8FromText(path);
    EXPECT_EQ(recording.createArguments, std::vector<int32_t>{}) << Utf8FromText(path);
  });
}

#ifdef _WIN32
TEST(DigestFile, DevicesPipesAndConsolesGiveTheEmptyTextAtOnce) {
  ASSERT_TRUE(LinuxFilesVisible()) << "needs Wine's drive Z:";
  const Text pipeName = L"\\\\.\\pipe\\checksums-digest-file-test";
  HANDLE pipe =
      CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 4, 0, 0, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  // A console of this process's own, so that CONIN$ names a real console input; the test's
  // output keeps going where the runtime found it at start.
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  for (const Text& path :
       {TextFromPath(LinuxFile("/dev/zero")), Text(L"NUL"), pipeName, Text(L"CONIN$")}) {
    ExpectRefusedAtOnce(path);
  }
  CloseHandle(pipe);
}

TEST(DigestFile, WhileReadingOthersMayReadTheFileButNeitherWriteNorDeleteIt) {
  const Text path = WriteScratchFile("shared.bin", "123456789");
  std::vector<DWORD> results;
  duringUpdate = [&] {
    for (DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
      HANDLE other =
          CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
      results.push_back(other == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS);
      if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    }
  };
  UpdateSizesFor(path);
  duringUpdate = nullptr;
  EXPECT_EQ(results,
            (std::vector<DWORD>{ERROR_SUCCESS, ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION}));
}

TEST(DigestFile, OnlyTheCompanionsOpeningReadsAFileAnotherHandleIsWriting) {
  const Text path = WriteScratchFile("being-written.log", "123456789");
  HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DigestFile window, companion;
  const FileOpening refused = window.Open(path);
  EXPECT_EQ(refused.outcome, FileOpening::Outcome::SYSTEM_ERROR);
  EXPECT_EQ(refused.systemError, static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(companion.OpenAnyReadable(path).Opened());
  uint8_t bytes[16];
  EXPECT_EQ(companion.Read(bytes, sizeof bytes), 9);
  CloseHandle(writer);
}
#else
TEST(DigestFile, DevicesAndPipesGiveTheEmptyTextAtOnce) {
  // Opening a FIFO that has no writer waits for one, unless the opening itself is told not to.
  const std::filesystem::path fifo = ScratchFolder() / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const Text& path : {Text(L"/dev/zero"), Text(L"/dev/null"), TextFromPath(fifo)}) {
    ExpectRefusedAtOnce(path);
  }
}

// The flags of this process's descriptor open on `path`, from /proc; -1 when there is none.
long FlagsOfDescriptorOn(const std::filesystem::path& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(entry.path(), ignored) != path) continue;
    std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
    std::string field;
    while (info >> field) {
      if (field == "flags:") {
        long flags = 0;
        info >> std::oct >> flags;
        return flags;
      }
    }
  }
  return -1;
}

TEST(DigestFile, HoldsTheFileReadOnlyAndBlocking) {
  const Text path = WriteScratchFile("held.bin", "123456789");
  long flags = -1;
  duringUpdate = [&] { flags = FlagsOfDescriptorOn(ScratchFolder() / "held.bin"); };
  UpdateSizesFor(path);
  duringUpdate = nullptr;
  ASSERT_NE(flags, -1);
  EXPECT_EQ(flags & O_ACCMODE, O_RDONLY);
  EXPECT_EQ(flags & O_NONBLOCK, 0);
}
#endif

std::vector<uint8_t> BytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(DigestFile, AFileThatReadsInShortPiecesStillGivesWholePiecesAndItsDigest) {
  // The kernel's type information hands out at most a page per read.
  const std::filesystem::path shortReader = LinuxFile("/sys/kernel/btf/vmlinux");
  ASSERT_TRUE(LinuxFilesVisible()) << "needs Wine's drive Z:";
  if (!std::filesystem::exists(shortReader)) GTEST_SKIP() << "this kernel has no BTF file";
  const std::vector<uint8_t> bytes = BytesOf(shortReader);
  ASSERT_GT(bytes.size(), MEBIBYTE);
  std::vector<uint32_t> pieces(bytes.size() / MEBIBYTE, MEBIBYTE);
  pieces.push_back(static_cast<uint32_t>(bytes.size() % MEBIBYTE));

  const Text path = TextFromPath(shortReader);
  EXPECT_EQ(UpdateSizesFor(path), pieces);
  wchar_t crc[9];
  swprintf(crc, 9, L"%08x", Crc32Update(bytes.data(), static_cast<uint32_t>(bytes.size()), 0));
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32), crc);
}

// An address at which a readable mapping of this process of two pages or more ends with nothing
// mapped after it for at least 16 MiB, from /proc/self/maps; 0 when there is none.
uint64_t EndOfMappingBeforeAGap() {
  std::ifstream maps(LinuxFile("/proc/self/maps"));
  std::string line;
  uint64_t previousEnd = 0;
  bool previousReadable = false;
  while (std::getline(maps, line)) {
    uint64_t start = 0, end = 0;
    char dash = 0;
    std::string permissions;
    std::istringstream(line) >> std::hex >> start >> dash >> end >> permissions;
    if (previousReadable && start - previousEnd >= 16 * MEBIBYTE) return previousEnd;
    previousEnd = end;
    previousReadable = permissions.rfind("rw", 0) == 0 && end - start >= 8192;
  }
  return 0;
}

TEST(DigestFile, AReadFailingAtOnceOrAfterAShortPieceGivesTheEmptyText) {
  // This process's memory file: its first page is never mapped, so the first read fails; read
  // from just before the end of a mapping, a read returns the mapping's last bytes, short of a
  // piece, and the next one fails. Taken for the end, that short piece would give a digest.
  ASSERT_TRUE(LinuxFilesVisible()) << "needs Wine's drive Z:";
  const Text memory = TextFromPath(LinuxFile("/proc/self/mem"));
  const uint64_t mappingEnd = EndOfMappingBeforeAGap();
  ASSERT_NE(mappingEnd, 0u);
  for (const int64_t offset : {int64_t{0}, static_cast<int64_t>(mappingEnd - 8192)}) {
    EXPECT_EQ(UpdateSizesFor(memory, offset), std::vector<uint32_t>{}) << offset;
    EXPECT_EQ(recording.finishCount, 0);
    EXPECT_EQ(ComputeFileDigest(memory, DIGEST_CRC32, 0, offset), L"") << offset;
  }
}

}  // namespace
