// Checking a sums file in the verifying window against `checksums-cli -c` on the same files, both
// under Wine: 1,000 small files, 10,000 small files, and one 1 GiB file.
//
// Two times are given for each. The whole time runs from starting the program to the window's
// verdict, read from the window by this process, or to the companion's exit. The checking time
// leaves out what starting costs: for the window it runs from its window being found, which it
// shows once built, to its verdict; for the companion it is its whole time less its whole time on
// a sums file that lists one empty file. While the window checks, every reading of its verdict is
// an answer from its thread: the slowest answer shows how long the window left the user waiting.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "digest/compute_file_digests.h"
#include "digest/digest_plugin.h"
#include "digest/register_digest_plugins.h"
#include "runtime/main_heap.h"
#include "tests/support/window_driver.h"
#include "verify/control_numbers.h"

namespace {

constexpr size_t SMALL_SIZE = 4096;
constexpr uint64_t LARGE_SIZE = 1ull << 30;
constexpr int RUNS = 5;
constexpr DWORD POLL_MS = 1;  // while the window starts
constexpr DWORD TIMEOUT_MS = 600000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

void WriteRandom(const std::filesystem::path& path, uint64_t size, uint32_t seed) {
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) == size) return;
  std::mt19937_64 random(seed);
  std::vector<uint64_t> block(1 << 17);
  std::ofstream out(path, std::ios::binary);
  for (uint64_t done = 0; done < size; done += block.size() * 8) {
    for (uint64_t& word : block) word = random();
    out.write(reinterpret_cast<const char*>(block.data()),
              static_cast<std::streamsize>(std::min<uint64_t>(size - done, block.size() * 8)));
  }
}

// A SHA256SUMS in `folder` of `count` files of `size` bytes, made with the engine.
std::filesystem::path WriteSums(const std::filesystem::path& folder, int count, uint64_t size) {
  std::filesystem::create_directories(folder);
  std::ofstream sums(folder / "SHA256SUMS", std::ios::binary);
  for (int i = 0; i < count; ++i) {
    const std::string name = "file" + std::to_string(i) + ".bin";
    WriteRandom(folder / name, size, static_cast<uint32_t>(i));
    const Text path = (folder / name).wstring();
    sums << Utf8FromText(ComputeFileDigests(path, {{DIGEST_SHA2, 256}}, 1)[0]) << "  " << name
         << "\n";
  }
  return folder / "SHA256SUMS";
}

// Each measurement's times, one a run.
struct Measured {
  std::vector<double> windowWhole, windowChecking, companion;
  double slowestAnswer = 0;  // the most this process waited for the window to answer
  bool failed = false;
};

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times.empty() ? 0 : times[times.size() / 2];
}

// Runs the window once on `sums`, whose files are all to be OK, and adds its times.
bool TimeWindow(const std::filesystem::path& sums, int files, Measured& times) {
  const std::wstring verdict =
      files == 1 ? L"1 file OK" : L"All " + std::to_wstring(files) + L" files OK";
  const Clock::time_point start = Clock::now();
  DrivenProgram window(VERIFY_PROGRAM, L"\"" + sums.wstring() + L"\"");
  if (!window.WaitForWindow(VERIFY_WINDOW_TITLE, {VERDICT_TEXT, CANCEL_BUTTON}, TIMEOUT_MS,
                            POLL_MS)) {
    return false;
  }
  const Clock::time_point shown = Clock::now();
  HWND verdictText = GetDlgItem(window.Window(), VERDICT_TEXT);
  double slowest = 0;
  bool done = false;
  for (;;) {
    const Clock::time_point asked = Clock::now();
    done = ReadControlText(verdictText) == verdict;
    slowest = std::max(slowest, Seconds(Clock::now() - asked));
    const double waited = Seconds(Clock::now() - shown);
    if (done || waited * 1000 > TIMEOUT_MS) break;
    // Each reading is two messages the window's thread answers: read often enough to see the
    // verdict within a five-hundredth of the time taken, and no oftener, so as not to slow the run.
    Sleep(static_cast<DWORD>(std::clamp(waited * 1000 / 500, 1.0, 20.0)));
  }
  const Clock::time_point end = Clock::now();
  window.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE);
  if (!done) return false;
  times.windowWhole.push_back(Seconds(end - start));
  times.windowChecking.push_back(Seconds(end - shown));
  times.slowestAnswer = std::max(times.slowestAnswer, slowest);
  return true;
}

// The companion's whole time on `sums`, run in its folder; -1 unless every file was OK.
double CompanionSeconds(const std::filesystem::path& sums) {
  std::wstring command = L"\"" + std::wstring(CLI_PROGRAM) + L"\" -c --quiet SHA256SUMS";
  const std::wstring folder = sums.parent_path().wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const Clock::time_point start = Clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const double seconds = Seconds(Clock::now() - start);
  return exitCode == 0 ? seconds : -1;
}

// RUNS runs of each, alternated, so that both meet the same file cache. The median, not the
// best: the companion's time on small files here falls now and then to half its usual.
Measured Measure(const std::filesystem::path& sums, int files) {
  Measured measured;
  for (int run = 0; run < RUNS; ++run) {
    if (!TimeWindow(sums, files, measured)) measured.failed = true;
    const double companion = CompanionSeconds(sums);
    if (companion < 0) measured.failed = true;
    measured.companion.push_back(companion);
  }
  return measured;
}

void PrintRow(const char* what, const Measured& measured, const Measured& start) {
  if (measured.failed) {
    std::printf("| %s | failed: a run did not end with every file OK |||||||\n", what);
    return;
  }
  const double window = Median(measured.windowWhole), companion = Median(measured.companion);
  const double windowChecking = Median(measured.windowChecking);
  const double companionChecking = companion - Median(start.companion);
  std::printf("| %s | %.3f | %.3f | %.2fx | %.3f | %.3f | %.2fx | %.0f |\n", what, window,
              companion, window / companion, windowChecking, companionChecking,
              windowChecking / companionChecking, measured.slowestAnswer * 1000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: verify_window_bench FOLDER\n");
    return 2;
  }
  StartMainHeap();
  RegisterDigestPlugins();
  const std::filesystem::path root = argv[1];
  const std::filesystem::path startSums = WriteSums(root / "empty", 1, 0);
  const std::filesystem::path smallSums = WriteSums(root / "small", 1000, SMALL_SIZE);
  const std::filesystem::path manySums = WriteSums(root / "many", 10000, SMALL_SIZE);
  const std::filesystem::path largeSums = WriteSums(root / "large", 1, LARGE_SIZE);

  const Measured start = Measure(startSums, 1);
  std::printf("\n## Verify Checksums against checksums-cli -c, under Wine\n\n");
  std::printf(
      "Median of %d runs each. Whole: from starting the program to the verdict (the window) or "
      "the exit (the companion). Checking: the window from its window shown to its verdict; the "
      "companion's whole time less its whole time on one empty file (%.3f s). Slowest answer: "
      "the longest the window took to answer a reading of its verdict while it checked.\n\n",
      RUNS, Median(start.companion));
  std::printf(
      "| Sums file | window, whole (s) | companion, whole (s) | ratio | window, checking (s) | "
      "companion, checking (s) | ratio | slowest answer (ms) |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
  if (start.failed) {
    std::printf("| one empty file | failed |||||||\n");
  } else {
    const double window = Median(start.windowWhole), companion = Median(start.companion);
    std::printf(
        "| one empty file (the cost of starting) | %.3f | %.3f | %.2fx | %.3f | | | %.0f |\n",
        window, companion, window / companion, Median(start.windowChecking),
        start.slowestAnswer * 1000);
  }
  PrintRow("1,000 files of 4 KiB", Measure(smallSums, 1000), start);
  PrintRow("10,000 files of 4 KiB", Measure(manySums, 10000), start);
  PrintRow("one file of 1 GiB", Measure(largeSums, 1), start);
  return 0;
}
