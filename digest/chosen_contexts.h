#pragma once
// One context per chosen digest, made for being fed together from one read.
#include <vector>

#include "digest/digest_choice.h"
#include "digest/file/shared_read.h"

// One context per choice, each freed on every path; `complete` only when every plugin is
// registered and made its context.
struct ChosenContexts {
  std::vector<FedContext> targets;
  bool complete = true;

  explicit ChosenContexts(const std::vector<DigestChoice>& choices);
  ~ChosenContexts();
  ChosenContexts(const ChosenContexts&) = delete;
  ChosenContexts& operator=(const ChosenContexts&) = delete;

  void UpdateAll(uint8_t* bytes, uint32_t length) const;
  // Finishes every context: the digests in the order of the choices.
  std::vector<Text> Finish() const;
};
