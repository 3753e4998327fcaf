// Long paths: the extended form a path over the classic limit is given, and (on Windows) a file
// that deep read whole.
#include "digest/file/long_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "digest/compute_file_digest.h"
#include "digest/crc32/crc32.h"
#include "tests/support/temp_files.h"

namespace {

const Text LONG_NAME(120, L'x');

TEST(ExtendedLengthPath, OnlyLongDriveAndNetworkPathsChange) {
  EXPECT_EQ(ExtendedLengthPath(L"C:\\short\\file.txt"), L"C:\\short\\file.txt");
  const Text drive = L"C:\\" + LONG_NAME + L"/" + LONG_NAME + L"\\" + LONG_NAME;
  EXPECT_EQ(ExtendedLengthPath(drive),
            L"\\\\?\\C:\\" + LONG_NAME + L"\\" + LONG_NAME + L"\\" + LONG_NAME);
  const Text network = L"\\\\server\\share\\" + LONG_NAME + L"\\" + LONG_NAME + L"\\" + LONG_NAME;
  EXPECT_EQ(ExtendedLengthPath(network),
            L"\\\\?\\UNC\\server\\share\\" + LONG_NAME + L"\\" + LONG_NAME + L"\\" + LONG_NAME);
  // Already extended, a device path, or not absolute: left alone.
  const Text extended = L"\\\\?\\C:\\" + LONG_NAME + L"\\" + LONG_NAME + L"\\" + LONG_NAME;
  EXPECT_EQ(ExtendedLengthPath(extended), extended);
  const Text device = L"\\\\.\\C:\\" + LONG_NAME + L"\\" + LONG_NAME + L"\\" + LONG_NAME;
  EXPECT_EQ(ExtendedLengthPath(device), device);
  const Text relative = LONG_NAME + L"\\" + LONG_NAME + L"\\" + LONG_NAME;
  EXPECT_EQ(ExtendedLengthPath(relative), relative);
}

TEST(ExtendedLengthPath, LimitIsTwoHundredFiftyNineCharacters) {
  const Text atLimit = L"C:\\" + Text(CLASSIC_PATH_LIMIT - 3, L'a');
  EXPECT_EQ(ExtendedLengthPath(atLimit), atLimit);
  EXPECT_EQ(ExtendedLengthPath(atLimit + L"b"), L"\\\\?\\" + atLimit + L"b");
}

TEST(LongPath, FileDeepInTheTreeIsReadWhole) {
  RegisterCrc32Plugin();
  const std::filesystem::path folder =
      ScratchFolder() / std::string(120, 'a') / std::string(120, 'b');
  std::filesystem::create_directories(folder);
  const std::string name = std::string(120, 'a') + "/" + std::string(120, 'b') + "/" +
                           std::string(40, 'c') + "-digits.txt";
  const Text path = WriteScratchFile(name, "123456789");
  ASSERT_GT(path.size(), 300u);
  EXPECT_EQ(ComputeFileDigest(path, DIGEST_CRC32), L"cbf43926");
  // A ".." inside a long path is resolved before the extended form, which takes it literally.
  const Text roundabout =
      TextFromPath(folder / ".." / std::string(120, 'b') / (std::string(40, 'c') + "-digits.txt"));
  EXPECT_EQ(ComputeFileDigest(roundabout, DIGEST_CRC32), L"cbf43926");
}

}  // namespace
