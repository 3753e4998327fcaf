#include "digest/digest_plugin.h"

namespace {

// Written only during start-up, read-only afterwards, so no lock.
DigestPlugin registry[DIGEST_REGISTRY_SLOTS];
int32_t slotsInUse;

DigestPlugin* AppendSlot(int32_t id) {
  if (slotsInUse == DIGEST_REGISTRY_SLOTS) return nullptr;
  DigestPlugin* slot = &registry[slotsInUse++];
  *slot = DigestPlugin{};
  slot->id = id;
  return slot;
}

}  // namespace

DigestPlugin* RegisterDigestPlugin(int32_t id) {
  if (id == DIGEST_FIRST_REGISTERED) return slotsInUse == 0 ? AppendSlot(id) : nullptr;
  for (int32_t i = 0; i < slotsInUse; ++i) {
    if (registry[i].id == id) return nullptr;
  }
  return AppendSlot(id);
}

const DigestPlugin* FindDigestPlugin(int32_t id) {
  if (id == DIGEST_FIRST_REGISTERED) return slotsInUse > 0 ? &registry[0] : nullptr;
  for (int32_t i = 0; i < slotsInUse; ++i) {
    if (registry[i].id == id) return &registry[i];
  }
  return nullptr;
}
