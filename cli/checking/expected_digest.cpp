#include "cli/checking/expected_digest.h"

#include <deque>
#include <memory>

#include "cli/checking/check_results.h"
#include "cli/inputs/file_digests.h"
#include "sums/entry_check.h"

namespace {

constexpr wchar_t EXPECT_SOURCE[] = L"--expect";

class ExpectedDigestCheck {
 public:
  explicit ExpectedDigestCheck(const CliOptions& options)
      : options(options),
        algorithms(options.expectedAlgorithm ? AlgorithmList{options.expectedAlgorithm}
                                             : AlgorithmsWithHexLength(ChosenAlgorithms(options),
                                                                       options.expected.size())),
        results(options, true) {}

  int Run() {
    std::vector<Text> files = options.files;
    if (files.empty()) files.push_back(STANDARD_INPUT_NAME);
    for (const Text& name : files) {
      started.push_back({name, StartNamedFileDigests(name, DigestChoices(algorithms))});
      if (started.size() == FILES_IN_FLIGHT) WriteFirst();
    }
    while (!started.empty()) WriteFirst();
    return results.Finish(EXPECT_SOURCE);
  }

 private:
  struct Started {
    Text name;
    std::unique_ptr<DigestJob> job;
  };

  void WriteFirst() {
    const NamedFileDigests file = FinishNamedFileDigests(*started.front().job);
    const Text& name = started.front().name;
    if (file.failure.failed) {
      results.Unreadable(name, file.failure);
    } else {
      results.Compared(name,
                       MatchingAlgorithm(algorithms, options.expected, algorithms, file.digests));
    }
    started.pop_front();
  }

  const CliOptions& options;
  const AlgorithmList algorithms;
  CheckResults results;
  std::deque<Started> started;
};

}  // namespace

int CheckExpectedDigest(const CliOptions& options) {
  return ExpectedDigestCheck(options).Run();
}
