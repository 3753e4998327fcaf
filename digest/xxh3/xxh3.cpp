// The XXH3 plugin: the authors' streaming state behind the engine's four operations; the
// backend that runs it comes from xxh3_backend.h.
#include "digest/xxh3/xxh3.h"

#include <cstring>

#include "digest/digest_plugin.h"
#include "digest/shared/compiler_barriers.h"
#include "digest/xxh3/xxh3_backend.h"
#include "runtime/main_heap.h"

Xxh3Backend xxh3Backend = &XXH3_SCALAR_FUNCTIONS;

void RunXxh3Pass(Xxh3Backend backend, uint8_t* bytes, size_t length) {
  Xxh3Room room;
  uint8_t digest[8];
  backend->reset(&room);
  backend->update(&room, bytes, length);
  backend->digest(&room, 64, digest);
  Settled(digest[0]);
}

namespace {

struct Xxh3Context : DigestContext {
  Xxh3Backend backend;  // the one that started it, kept to the end: each has its own secret copy
  Xxh3Room room;
};

DigestContext* Xxh3Create(int32_t bits, int32_t) {
  if (bits == 0) bits = 64;
  if (bits != 64 && bits != 128) return nullptr;
  auto* xxh3 = static_cast<Xxh3Context*>(AllocateFromMainHeap(sizeof(Xxh3Context)));
  if (!xxh3) return nullptr;
  xxh3->bits = bits;
  xxh3->backend = xxh3Backend;
  xxh3->backend->reset(&xxh3->room);
  return xxh3;
}

void Xxh3Update(DigestContext* context, uint8_t* data, uint32_t length) {
  auto* xxh3 = static_cast<Xxh3Context*>(context);
  xxh3->backend->update(&xxh3->room, data, length);
}

void Xxh3Finish(DigestContext* context) {
  auto* xxh3 = static_cast<Xxh3Context*>(context);
  xxh3->backend->digest(&xxh3->room, xxh3->bits, xxh3->digest);
  std::memset(&xxh3->room, 0, sizeof xxh3->room);
}

void Xxh3Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int RegisterXxh3Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_XXH3);
  if (slot) {
    TakeChosenBackend(XXH3_BACKEND_TABLE);
    slot->create = Xxh3Create;
    slot->update = Xxh3Update;
    slot->finish = Xxh3Finish;
    slot->free = Xxh3Free;
  }
  return 1;
}
