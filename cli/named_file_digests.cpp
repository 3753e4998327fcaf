#include "cli/named_file_digests.h"

#include "cli/cli_options.h"
#include "cli/console.h"
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
  // The engine only says that it failed; the system says why. A file that opens now failed
  // on the way through.
  Text reason = standardInput ? Text() : ReasonFileCannotBeOpened(name);
  if (reason.empty()) reason = ReadFailureReason();
  result.failure = L"cannot read " + name + L": " + reason;
  return result;
}
