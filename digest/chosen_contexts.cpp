#include "digest/chosen_contexts.h"

#include "digest/compute_file_digest.h"

namespace {

// Several contexts read the same piece, so none may write into it.
constexpr int32_t PRESERVE_INPUT = 1;

}  // namespace

ChosenContexts::ChosenContexts(const std::vector<DigestChoice>& choices) {
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

ChosenContexts::~ChosenContexts() {
  for (const FedContext& target : targets) target.plugin->free(target.context);
}

void ChosenContexts::UpdateAll(uint8_t* bytes, uint32_t length) const {
  for (const FedContext& target : targets) target.plugin->update(target.context, bytes, length);
}

std::vector<Text> ChosenContexts::Finish() const {
  std::vector<Text> texts(targets.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    targets[i].plugin->finish(targets[i].context);
    texts[i] = DigestToHex(targets[i].context);
  }
  return texts;
}
