// One read feeding every digest must give, to the bit, what one pass per digest gives: on the
// sizes around the piece size and the blocks' edges, with the ring of pieces wrapping, on one
// thread and on several, from files and from a pipe on standard input.
#include "digest/compute_file_digests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "digest/compute_file_digest.h"
#include "digest/digest_run.h"
#include "digest/register_digest_plugins.h"
#include "runtime/main_heap.h"
#include "tests/digest/backends_under_test.h"
#include "tests/support/temp_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <csignal>
#endif

namespace {

constexpr uint64_t PIECE = DIGEST_READ_SIZE;
// 1 is everything on the caller's thread; 16 is more workers than there are digests.
constexpr unsigned WORKER_COUNTS[] = {1, 2, 16};

[[maybe_unused]] const bool registered = [] {
  RegisterDigestPlugins();
  return true;
}();

std::vector<DigestChoice> AllChoices() {
  std::vector<DigestChoice> all;
  for (const TestAlgorithm& each : AllTestAlgorithms()) all.push_back({each.id, each.bits});
  return all;
}

std::vector<Text> SinglePassDigests(const Text& path) {
  std::vector<Text> texts;
  for (const DigestChoice& choice : AllChoices()) {
    texts.push_back(ComputeFileDigest(path, choice.id, choice.bits));
  }
  return texts;
}

// Around the piece size; past it, each block size's first multiple (a block straddling the two
// pieces ends exactly with the data) and that less one (a padding of one byte); then enough
// pieces for the ring of buffers to wrap, with odd bytes over.
std::set<uint64_t> BoundarySizes() {
  std::set<uint64_t> sizes = {0, 1, PIECE - 1, PIECE, PIECE + 1, 9 * PIECE + 1001};
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    const uint64_t block = algorithm.blockBytes;
    const uint64_t firstPast = (PIECE / block + 1) * block;
    sizes.insert({firstPast, firstPast - 1});
  }
  return sizes;
}

void ExpectBothRoutesAgree(const Text& path, const std::string& what) {
  const std::vector<Text> expected = SinglePassDigests(path);
  ASSERT_EQ(std::count(expected.begin(), expected.end(), Text()), 0) << what;
  for (unsigned workers : WORKER_COUNTS) {
    EXPECT_EQ(ComputeFileDigests(path, AllChoices(), workers), expected)
        << what << ", " << workers << " workers";
  }
}

TEST(OnePass, GivesEverySinglePassDigestOnTheBoundarySizes) {
  const std::vector<uint8_t> bytes = RandomBytes(9 * PIECE + 1001, 12);
  for (uint64_t size : BoundarySizes()) {
    const Text path =
        WriteScratchFile("boundary.bin", std::vector<uint8_t>(bytes.begin(), bytes.begin() + size));
    ExpectBothRoutesAgree(path, std::to_string(size) + " bytes");
  }
}

TEST(OnePass, NoDigestDisturbsThePieceTheOthersRead) {
  // The generic SHA-1 keeps its message schedule in the block it is given.
  const ScopedDigestBackend generic(DIGEST_SHA1, 0, "generic");
  ASSERT_TRUE(generic.InUse());
  ExpectBothRoutesAgree(WriteScratchFile("shared.bin", RandomBytes(2 * PIECE + 77, 13)),
                        "SHA-1 on its generic backend");
}

TEST(OnePass, TextsFollowTheChoicesOrder) {
  const Text path = WriteScratchFile("order.bin", "123456789");
  const std::vector<DigestChoice> choices = {
      {DIGEST_SHA3, 256}, {DIGEST_CRC32, 0}, {DIGEST_SHA3, 256}};
  const Text sha3 = ComputeFileDigest(path, DIGEST_SHA3, 256);
  EXPECT_EQ(ComputeFileDigests(path, choices, 3), (std::vector<Text>{sha3, L"cbf43926", sha3}));
  EXPECT_TRUE(ComputeFileDigests(path, {}, 2).empty());
}

TEST(OnePass, EveryFailureEmptiesEveryTextAndGivesItsMemoryBack) {
  const std::vector<Text> allEmpty(AllChoices().size());
  const Text readable = WriteScratchFile("readable.bin", RandomBytes(5 * PIECE + 3, 14));
  std::vector<DigestChoice> unknownId = AllChoices(), refusedBits = AllChoices();
  unknownId.push_back({DIGEST_REGISTRY_SLOTS - 1, 0});  // a slot no plugin registers
  refusedBits.push_back({DIGEST_SHA2, 160});
#ifdef _WIN32
  // Wine shows this process's memory as a file whose first page cannot be read.
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
  const Text unreadable = wine ? L"Z:\\proc\\self\\mem" : L"";
#else
  const Text unreadable = L"/proc/self/mem";
#endif
  ComputeFileDigests(readable, AllChoices(), 2);  // the heap's own first-use costs are not ours
  const size_t before = MainHeapBytesInUse();
  for (unsigned workers : WORKER_COUNTS) {
    const Text missing = TextFromPath(ScratchFolder() / "missing.bin");
    EXPECT_EQ(ComputeFileDigests(missing, AllChoices(), workers), allEmpty);
    EXPECT_EQ(ComputeFileDigests(TextFromPath(ScratchFolder()), AllChoices(), workers), allEmpty);
    EXPECT_EQ(ComputeFileDigests(L"", AllChoices(), workers), allEmpty);
    EXPECT_EQ(ComputeFileDigests(unreadable, AllChoices(), workers), allEmpty);
    EXPECT_EQ(ComputeFileDigests(readable, unknownId, workers), std::vector<Text>(12));
    EXPECT_EQ(ComputeFileDigests(readable, refusedBits, workers), std::vector<Text>(12));
    ComputeFileDigests(readable, AllChoices(), workers);
  }
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

TEST(DigestRun, ManyFilesInFlightGiveWhatOneReadOfEachGivesInTheirOrder) {
  // Small files spread over the workers, and large ones read on by the waiting thread; a file
  // that cannot be read among them.
  std::vector<Text> paths;
  for (uint32_t i = 0; i < 60; ++i) {
    const size_t size = i % 20 == 7 ? 2 * PIECE + i : i * 97;
    paths.push_back(WriteScratchFile("run-" + std::to_string(i) + ".bin", RandomBytes(size, i)));
  }
  paths.insert(paths.begin() + 30, TextFromPath(ScratchFolder() / "missing.bin"));
  for (const std::vector<DigestChoice>& choices :
       {std::vector<DigestChoice>{{DIGEST_SHA2, 256}}, AllChoices()}) {
    for (unsigned workers : WORKER_COUNTS) {
      for (const DigestRun::Waiting waiting :
           {DigestRun::Waiting::SLEEPS, DigestRun::Waiting::HELPS}) {
        DigestRun run(workers, waiting);
        std::vector<std::unique_ptr<DigestJob>> jobs;
        for (const Text& path : paths) {
          jobs.push_back(std::make_unique<DigestJob>(path, false, choices));
          run.Start(*jobs.back());
        }
        for (size_t i = 0; i < paths.size(); ++i) {
          run.Finish(*jobs[i], nullptr);
          EXPECT_EQ(jobs[i]->digests, ComputeFileDigests(paths[i], choices, 1))
              << i << ", " << workers << " workers, helping "
              << (waiting == DigestRun::Waiting::HELPS);
          EXPECT_EQ(jobs[i]->opening.Opened(), i != 30);
        }
      }
    }
  }
}

TEST(DigestRun, CancelStopsTheFilesBeingReadAndThoseWaitingAndKeepsThoseDone) {
  // Large enough that every file is still being read when the cancel comes after its first
  // piece; with several workers they are read on by the thread in Finish (a shared read).
  const uint64_t size = 24 * PIECE;
  const std::vector<uint8_t> bytes = RandomBytes(size, 21);
  const Text done = WriteScratchFile("cancel-done.bin", "abc");
  std::vector<Text> large;
  for (int i = 0; i < 3; ++i) {
    large.push_back(WriteScratchFile("cancel-" + std::to_string(i) + ".bin", bytes));
  }
  for (unsigned workers : WORKER_COUNTS) {
    DigestRun run(workers);
    DigestJob first(done, false, AllChoices());
    run.Start(first);
    run.Finish(first, nullptr);
    std::vector<std::unique_ptr<DigestJob>> jobs;
    for (const Text& path : large) {
      jobs.push_back(std::make_unique<DigestJob>(path, false, AllChoices()));
      run.Start(*jobs.back());
    }
    std::thread canceller([&] {
      while (jobs[0]->bytesRead == 0) std::this_thread::yield();
      run.Cancel();
    });
    for (const auto& job : jobs) run.Finish(*job, nullptr);
    canceller.join();
    EXPECT_EQ(first.digests, ComputeFileDigests(done, AllChoices(), 1)) << workers << " workers";
    for (const auto& job : jobs) {
      EXPECT_TRUE(job->cancelled) << workers << " workers";
      EXPECT_FALSE(job->readFailed);
      EXPECT_EQ(job->digests, std::vector<Text>(AllChoices().size()));
      EXPECT_LT(job->bytesRead, size);
    }
  }
}

// Standard input replaced, for the object's life, by a pipe that a thread fills; a writer still
// writing when the reader has gone fails instead of waiting.
#ifdef _WIN32
class StandardInputFromPipe {
 public:
  explicit StandardInputFromPipe(const std::vector<uint8_t>& bytes) {
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, nullptr, 0);
    SetStdHandle(STD_INPUT_HANDLE, readEnd);
    writer = std::thread([writeEnd, &bytes] {
      DWORD written = 0;
      for (size_t done = 0; done < bytes.size(); done += written) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 65536));
        if (!WriteFile(writeEnd, bytes.data() + done, chunk, &written, nullptr)) break;
      }
      CloseHandle(writeEnd);
    });
  }
  ~StandardInputFromPipe() {
    SetStdHandle(STD_INPUT_HANDLE, saved);
    CloseHandle(readEnd);
    writer.join();
  }

 private:
  HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE readEnd = nullptr;
  std::thread writer;
};
#else
class StandardInputFromPipe {
 public:
  explicit StandardInputFromPipe(const std::vector<uint8_t>& bytes) {
    int ends[2] = {-1, -1};
    if (pipe(ends) == 0) {
      dup2(ends[0], STDIN_FILENO);
      close(ends[0]);
    }
    std::signal(SIGPIPE, SIG_IGN);
    writer = std::thread([writeEnd = ends[1], &bytes] {
      for (size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(writeEnd, bytes.data() + done, bytes.size() - done);
        if (written <= 0) break;
        done += static_cast<size_t>(written);
      }
      close(writeEnd);
    });
  }
  ~StandardInputFromPipe() {
    dup2(saved, STDIN_FILENO);
    close(saved);
    writer.join();
  }

 private:
  int saved = dup(STDIN_FILENO);
  std::thread writer;
};
#endif

TEST(OnePass, ReadsStandardInputFromAPipe) {
  const std::vector<uint8_t> bytes = RandomBytes(2 * PIECE + 5, 15);
  const std::vector<Text> expected = SinglePassDigests(WriteScratchFile("input.bin", bytes));
  for (unsigned workers : WORKER_COUNTS) {
    const StandardInputFromPipe piped(bytes);
    EXPECT_EQ(ComputeStandardInputDigests(AllChoices(), workers), expected)
        << workers << " workers";
  }
}

}  // namespace
