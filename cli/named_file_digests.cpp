#include "cli/named_file_digests.h"

#include "cli/cli_options.h"
#include "cli/unreadable_reason.h"
#include "digest/compute_file_digests.h"

NamedFileDigests ComputeNamedFileDigests(const Text& name, const AlgorithmList& algorithms) {
  const std::vector<DigestChoice> choices = DigestChoices(algorithms);
  const unsigned workers = DigestWorkersForThisMachine();
  const bool standardInput = name == STANDARD_INPUT_NAME;
  NamedFileDigests result;
  result.digests = standardInput ? ComputeStandardInputDigests(choices, workers)
                                 : ComputeFileDigests(name, choices, workers);
  if (result.digests.empty() || !result.digests.front().empty()) return result;
  result.failure = CannotReadMessage(name, name);
  return result;
}
