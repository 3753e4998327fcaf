#include "digest/compute_file_digests.h"

#include <algorithm>
#include <thread>

#include "digest/compute_file_digest.h"
#include "digest/file/digest_file.h"
#include "digest/file/shared_read.h"

namespace {

// Several contexts read the same piece, so none may write into it.
constexpr int32_t PRESERVE_INPUT = 1;

// One context per choice, each freed on every path; `complete` only when every plugin is
// registered and made its context.
struct ChosenContexts {
  std::vector<FedContext> targets;
  bool complete = true;

  explicit ChosenContexts(const std::vector<DigestChoice>& choices) {
    targets.reserve(choices.size());
    for (const DigestChoice& choice : choices) {
      const DigestPlugin* plugin = FindDigestPlugin(choice.id);
      DigestContext* context = plugin ? plugin->create(choice.bits, PRESERVE_INPUT) : nullptr;
      if (!context) {
        complete = false;
        return;
      }
      targets.push_back({plugin, context});
    }
  }
  ~ChosenContexts() {
    for (const FedContext& target : targets) target.plugin->free(target.context);
  }
  ChosenContexts(const ChosenContexts&) = delete;
  ChosenContexts& operator=(const ChosenContexts&) = delete;
};

std::vector<Text> DigestsOf(DigestFile& source, const ChosenContexts& chosen, unsigned workers) {
  std::vector<Text> texts(chosen.targets.size());
  if (!FeedFromOneRead(source, chosen.targets, workers)) return texts;
  for (size_t i = 0; i < texts.size(); ++i) {
    chosen.targets[i].plugin->finish(chosen.targets[i].context);
    texts[i] = DigestToHex(chosen.targets[i].context);
  }
  return texts;
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
  return std::max(1u, std::thread::hardware_concurrency());
}
