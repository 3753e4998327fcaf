#include "tests/support/temp_files.h"

#include <fstream>
#include <random>

namespace {

struct ScratchFolderOwner {
  std::filesystem::path path;
  ScratchFolderOwner() {
    std::random_device entropy;
    path = std::filesystem::temp_directory_path() /
           ("checksums-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(path);
  }
  ~ScratchFolderOwner() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

std::filesystem::path ScratchFolder() {
  static ScratchFolderOwner owner;
  return owner.path;
}

Text TextFromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return TextFromUtf8(path.string());
#endif
}

Text WriteScratchFile(const std::string& name, const std::vector<uint8_t>& bytes) {
#ifdef _WIN32
  // A narrow name would be taken in the ANSI code page.
  const std::filesystem::path path = ScratchFolder() / TextFromUtf8(name);
#else
  const std::filesystem::path path = ScratchFolder() / name;
#endif
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return TextFromPath(path);
}

Text WriteScratchFile(const std::string& name, const std::string& bytes) {
  return WriteScratchFile(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<uint8_t> bytes(count);
  for (auto& byte : bytes) byte = static_cast<uint8_t>(generator());
  return bytes;
}
