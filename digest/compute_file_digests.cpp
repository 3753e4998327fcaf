#include "digest/compute_file_digests.h"

#include <algorithm>
#include <thread>

#include "digest/chosen_contexts.h"
#include "digest/compute_file_digest.h"
#include "digest/file/digest_file.h"

namespace {

std::vector<Text> DigestsOf(DigestFile& source, const ChosenContexts& chosen, unsigned workers) {
  if (!FeedFromOneRead(source, chosen.targets, workers)) {
    return std::vector<Text>(chosen.targets.size());
  }
  return chosen.Finish();
}

}  // namespace

std::vector<Text> ComputeFileDigests(const Text& path, const std::vector<DigestChoice>& choices,
                                     unsigned workers) {
  const ChosenContexts chosen(choices);
  if (choices.empty() || !chosen.complete || !IsFilePathText(path)) {
    return std::vector<Text>(choices.size());
  }
  DigestFile file;
  if (!file.Open(path).Opened()) return std::vector<Text>(choices.size());
  return DigestsOf(file, chosen, workers);
}

std::vector<Text> ComputeStandardInputDigests(const std::vector<DigestChoice>& choices,
                                              unsigned workers) {
  const ChosenContexts chosen(choices);
  if (choices.empty() || !chosen.complete) return std::vector<Text>(choices.size());
  DigestFile input;
  if (!input.OpenStandardInput()) return std::vector<Text>(choices.size());
  return DigestsOf(input, chosen, workers);
}

unsigned DigestWorkersForThisMachine() {
  // Asked of the system once: a run of many files asks for every file.
  static const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  return processors;
}
