#include "cli/checking/expected_digest.h"

#include "cli/checking/check_results.h"
#include "cli/inputs/file_digests.h"
#include "sums/entry_check.h"

namespace {

constexpr wchar_t EXPECT_SOURCE[] = L"--expect";

}  // namespace

int CheckExpectedDigest(const CliOptions& options) {
  const AlgorithmList algorithms =
      options.expectedAlgorithm
          ? AlgorithmList{options.expectedAlgorithm}
          : AlgorithmsWithHexLength(ChosenAlgorithms(options), options.expected.size());
  std::vector<Text> files = options.files;
  if (files.empty()) files.push_back(STANDARD_INPUT_NAME);
  CheckResults results(options, true);
  for (const Text& name : files) {
    const NamedFileDigests file = ComputeNamedFileDigests(name, algorithms);
    if (file.failure.failed) {
      results.Unreadable(name, file.failure);
    } else {
      results.Compared(name,
                       MatchingAlgorithm(algorithms, options.expected, algorithms, file.digests));
    }
  }
  return results.Finish(EXPECT_SOURCE);
}
