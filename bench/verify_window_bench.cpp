// Checking a sums file in the verifying window against `checksums-cli -c` on the same files, both
// under Wine: 1,000 small files, and one 1 GiB file. The window's time runs from its start to
// its verdict, read from the window by a second process; the companion's to its exit.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "digest/compute_file_digests.h"
#include "digest/digest_plugin.h"
#include "digest/register_digest_plugins.h"
#include "runtime/main_heap.h"
#include "tests/driver/window_driver.h"
#include "verify/control_numbers.h"

namespace {

constexpr int SMALL_FILES = 1000;
constexpr size_t SMALL_SIZE = 4096;
constexpr uint64_t LARGE_SIZE = 1ull << 30;
constexpr int RUNS = 3;

using Clock = std::chrono::steady_clock;

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

// A SHA256SUMS of `names` in `folder`, made with the engine.
std::filesystem::path WriteSums(const std::filesystem::path& folder,
                                const std::vector<std::string>& names) {
  std::ofstream sums(folder / "SHA256SUMS", std::ios::binary);
  for (const std::string& name : names) {
    const Text path = (folder / name).wstring();
    sums << Utf8FromText(ComputeFileDigests(path, {{DIGEST_SHA2, 256}}, 1)[0]) << "  " << name
         << "\n";
  }
  return folder / "SHA256SUMS";
}

double WindowSeconds(const std::filesystem::path& sums) {
  const Clock::time_point start = Clock::now();
  DrivenProgram window(VERIFY_PROGRAM, L"\"" + sums.wstring() + L"\"");
  if (!window.WaitForWindow(VERIFY_WINDOW_TITLE, {VERDICT_TEXT})) return -1;
  const bool done = WaitUntil(600000, [&] {
    return ReadControlText(GetDlgItem(window.Window(), VERDICT_TEXT)).rfind(L"All ", 0) == 0;
  });
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  window.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE);
  return done ? seconds : -1;
}

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
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return exitCode == 0 ? seconds : -1;
}

// The best of RUNS runs of each, alternated, so that both meet the same file cache.
void Measure(const char* what, const std::filesystem::path& sums) {
  double window = 1e9, companion = 1e9;
  for (int run = 0; run < RUNS; ++run) {
    window = std::min(window, WindowSeconds(sums));
    companion = std::min(companion, CompanionSeconds(sums));
  }
  std::printf("| %s | %.3f | %.3f | %.2fx |\n", what, window, companion, window / companion);
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
  const std::filesystem::path small = root / "small", large = root / "large";
  std::filesystem::create_directories(small);
  std::filesystem::create_directories(large);
  std::vector<std::string> names;
  for (int i = 0; i < SMALL_FILES; ++i) {
    names.push_back("file" + std::to_string(i) + ".bin");
    WriteRandom(small / names.back(), SMALL_SIZE, static_cast<uint32_t>(i));
  }
  const std::filesystem::path smallSums = WriteSums(small, names);
  WriteRandom(large / "large.bin", LARGE_SIZE, 7);
  const std::filesystem::path largeSums = WriteSums(large, {"large.bin"});
  std::printf("\n## Verify Checksums against checksums-cli -c, under Wine\n\n");
  std::printf("| Sums file | window (s) | checksums-cli -c (s) | window / companion |\n");
  std::printf("|---|---:|---:|---:|\n");
  Measure("1,000 files of 4 KiB", smallSums);
  Measure("one file of 1 GiB", largeSums);
  return 0;
}
