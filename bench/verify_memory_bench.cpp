// The verifying window's memory on a huge sums file: its portable run and view, natively, as the
// window drives them (the rows taken every tenth of a second, the verdict worked out each time),
// on a SHA256SUMS of 1.28 million lines (about 100 MB) naming 1,000 small files in turn. The peak
// is the process's largest resident size.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "digest/register_digest_plugins.h"
#include "runtime/text.h"
#include "verify/check_run.h"
#include "verify/check_view.h"

namespace {

// FIPS 180-2's digest of "abc", the content of every listed file.
const char SHA256_ABC[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr size_t LINES = 1280000;
constexpr size_t FILES = 1000;

std::filesystem::path WriteSums(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "files");
  char name[32];
  for (size_t i = 0; i < FILES; ++i) {
    std::snprintf(name, sizeof(name), "files/f%04zu.bin", i);
    std::ofstream(folder / name, std::ios::binary) << "abc";
  }
  const std::filesystem::path sums = folder / "SHA256SUMS";
  if (std::filesystem::exists(sums)) return sums;
  std::ofstream out(sums, std::ios::binary);
  for (size_t line = 0; line < LINES; ++line) {
    std::snprintf(name, sizeof(name), "files/f%04zu.bin", line % FILES);
    out << SHA256_ABC << "  " << name << "\n";
  }
  return sums;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: verify_memory_bench FOLDER\n");
    return 2;
  }
  RegisterDigestPlugins();
  const std::filesystem::path sums = WriteSums(argv[1]);
  const double before = PeakMegabytes();
  const auto start = std::chrono::steady_clock::now();
  CheckView view;
  view.Begin(CheckKind::SUMS_FILE, TextFromUtf8(sums.string()));
  {
    CheckRun run(nullptr);
    run.CheckSumsFile(TextFromUtf8(sums.string()));
    while (view.state == RunState::RUNNING) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      view.Apply(run.Take());
      view.CurrentVerdict();
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("\n## Verify Checksums: memory on a huge sums file, natively\n\n");
  std::printf(
      "The window's run and view (portable code, wide characters of 4 bytes here, 2 on Windows) "
      "on a SHA256SUMS of %zu lines (%.0f MB) naming %zu files of 3 bytes in turn, checked to the "
      "end; the process's peak resident size, and before the check.\n\n",
      LINES, static_cast<double>(std::filesystem::file_size(sums)) / 1e6, FILES);
  std::printf("| Verdict | time (s) | peak (MB) | before the check (MB) |\n|---|---:|---:|---:|\n");
  std::printf("| %s | %.1f | %.0f | %.0f |\n", Utf8FromText(view.CurrentVerdict().text).c_str(),
              seconds, PeakMegabytes(), before);
  return 0;
}
