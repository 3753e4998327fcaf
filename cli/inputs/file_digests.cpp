#include "cli/inputs/file_digests.h"

#include "cli/options/command_line.h"
#include "cli/console/console_lines.h"
#include "cli/console/progress_line.h"

namespace {

DigestRun& ProgramRun() {
  // A stalled read holds up the lines before it, which are printed in order after it anyway.
  static DigestRun run(DigestWorkersForThisMachine(), DigestRun::Waiting::HELPS);
  return run;
}

std::unique_ptr<DigestJob> NewJob(const Text& name, const std::vector<DigestChoice>& choices) {
  return std::make_unique<DigestJob>(name, name == STANDARD_INPUT_NAME, choices);
}

}  // namespace

std::unique_ptr<DigestJob> StartNamedFileDigests(const Text& name,
                                                 const std::vector<DigestChoice>& choices) {
  std::unique_ptr<DigestJob> job = NewJob(name, choices);
  ProgramRun().Start(*job);
  return job;
}

ListedFileJob StartListedFileDigests(const Text& sumsFile, const SumsEntry& entry,
                                     bool allowNetworkNames,
                                     const std::vector<DigestChoice>& choices) {
  if (entry.name == STANDARD_INPUT_NAME) return {StartNamedFileDigests(entry.name, choices), {}};
  const ListedFile file = FindListedFile(sumsFile, entry, allowNetworkNames);
  if (!file.refusal.empty()) return {nullptr, file.refusal};
  auto job = std::make_unique<DigestJob>(file.path, false, choices, FileKinds::REGULAR_ONLY);
  ProgramRun().Start(*job);
  return {std::move(job), {}};
}

NamedFileDigests FinishNamedFileDigests(DigestJob& job) {
  const ProgressClock::time_point since = ProgressClock::now();
  const uint64_t bytesThen = job.bytesRead;
  ProgramRun().Finish(job, [&] {
    FlushConsoleOutput();
    ShowProgress(job.path, since, bytesThen, job.bytesRead, job.size);
  });
  NamedFileDigests result;
  result.digests = std::move(job.digests);
  result.failure = FailureOf(job);
  return result;
}
