#include "sums/algorithm_by_file_name.h"

namespace {

constexpr const wchar_t* SUMS_SUFFIXES[] = {L"sums", L"sum", L""};

Text FileNamePart(const Text& path) {
  const size_t separator = path.find_last_of(L"/\\");
  return separator == Text::npos ? path : path.substr(separator + 1);
}

// NAMEsums, NAMEsum or NAME, by any of the algorithm's names.
const NamedAlgorithm* AlgorithmCalled(const Text& word, bool bareNameToo) {
  for (const wchar_t* suffix : SUMS_SUFFIXES) {
    const Text ending = suffix;
    if (ending.empty() && !bareNameToo) break;
    if (word.size() <= ending.size() ||
        word.compare(word.size() - ending.size(), Text::npos, ending) != 0) {
      continue;
    }
    if (const NamedAlgorithm* algorithm =
            FindAlgorithmByName(word.substr(0, word.size() - ending.size()))) {
      return algorithm;
    }
  }
  return nullptr;
}

}  // namespace

const NamedAlgorithm* AlgorithmNamedBySumsFile(const Text& path) {
  const Text name = LowerCaseAscii(FileNamePart(path));
  // The stem before the first dot: SHA256SUMS, SHA256SUMS.asc, sha256sum.txt.
  if (const NamedAlgorithm* algorithm = AlgorithmCalled(name.substr(0, name.find(L'.')), false)) {
    return algorithm;
  }
  // The extension: setup.iso.sha256, CHECKSUMS.md5sum.
  const size_t dot = name.rfind(L'.');
  return dot == Text::npos ? nullptr : AlgorithmCalled(name.substr(dot + 1), true);
}
