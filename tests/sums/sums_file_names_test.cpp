// Sums files known by their names, as they are published, and the extensions the setup program
// puts the "Verify checksums" verb on: each one must be a name the verifier takes for a sums file.
#include "sums/algorithm_by_file_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

Text NameOf(const NamedAlgorithm* algorithm) {
  return algorithm ? algorithm->name : L"(none)";
}

TEST(SumsFileNames, PublishedNamesGiveTheirAlgorithm) {
  const std::pair<const wchar_t*, const wchar_t*> names[] = {
      {L"SHA256SUMS", L"sha256"},
      {L"/mirror/debian/SHA512SUMS.asc", L"sha512"},
      {L"sha1sum.txt", L"sha1"},
      {L"C:\\Downloads\\setup.iso.sha256", L"sha256"},
      {L"CHECKSUMS.md5sum", L"md5"},
      {L"SHA3-256SUMS", L"sha3-256"},
      {L"release.tar.SHA3-384", L"sha3-384"},
      {L"MD5SUMS", L"md5"},
      {L"B3SUMS", L"blake3"},
      {L"release.b3", L"blake3"},
      {L"release.blake3", L"blake3"},
      {L"files.xxh3", L"xxh3"},
      {L"files.XXH128", L"xxh128"}};
  for (const auto& [path, algorithm] : names) {
    EXPECT_EQ(NameOf(AlgorithmNamedBySumsFile(path)), algorithm) << path;
  }
}

TEST(SumsFileNames, FilesNamedAfterAnAlgorithmAreNotSumsFiles) {
  // A program or notes about an algorithm, and folders whose names look like sums files.
  for (const wchar_t* path : {L"sha256.exe", L"md5-notes.txt", L"SHA256SUMS\\setup.iso",
                              L"sums.txt", L"setup.iso", L"sha256.sha256.txt"}) {
    EXPECT_EQ(AlgorithmNamedBySumsFile(path), nullptr) << path;
  }
}

// The extensions in the setup script's list of sums-file extensions.
std::vector<std::string> RegisteredExtensions() {
  std::ifstream script(INSTALLER_SCRIPT);
  std::vector<std::string> extensions;
  bool inList = false;
  const std::regex entry(R"(!insertmacro \$\{ACTION\} "(\.[^"]+)\")");
  for (std::string line; std::getline(script, line);) {
    if (line.find("!macro EACH_SUMS_EXTENSION") != std::string::npos) inList = true;
    if (inList && line.find("!macroend") != std::string::npos) break;
    std::smatch match;
    if (inList && std::regex_search(line, match, entry)) extensions.push_back(match[1]);
  }
  return extensions;
}

TEST(SumsFileNames, EveryExtensionTheSetupProgramRegistersIsKnownAndEveryAlgorithmHasOne) {
  const std::vector<std::string> extensions = RegisteredExtensions();
  ASSERT_FALSE(extensions.empty()) << INSTALLER_SCRIPT;
  for (const std::string& extension : extensions) {
    if (extension == ".sfv") continue;  // known by its lines: NAME and eight hex digits
    const Text name = L"setup.iso" + Text(extension.begin(), extension.end());
    EXPECT_NE(AlgorithmNamedBySumsFile(name), nullptr) << extension;
  }
  for (const NamedAlgorithm& algorithm : NAMED_ALGORITHMS) {
    const std::wstring wide = algorithm.name;
    const std::string extension = "." + std::string(wide.begin(), wide.end());
    EXPECT_NE(std::find(extensions.begin(), extensions.end(), extension), extensions.end())
        << extension;
  }
}

}  // namespace
