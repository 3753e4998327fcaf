#include "digest/crc32/crc32.h"

#include "digest/crc32/crc32_backend.h"
#include "digest/digest_plugin.h"
#include "runtime/main_heap.h"

Crc32RegisterFunction crc32Register = Crc32RegisterGeneric;

namespace {

struct Crc32Context : DigestContext {
  uint32_t crc;  // finished form of the CRC so far
};

DigestContext* Crc32Create(int32_t, int32_t) {
  auto* context = static_cast<Crc32Context*>(AllocateFromMainHeap(sizeof(Crc32Context)));
  if (context) context->bits = 32;
  return context;
}

void Crc32UpdateContext(DigestContext* context, uint8_t* data, uint32_t length) {
  auto* crc32 = static_cast<Crc32Context*>(context);
  crc32->crc = Crc32Update(data, length, crc32->crc);
}

void Crc32Finish(DigestContext* context) {
  const uint32_t crc = static_cast<Crc32Context*>(context)->crc;
  context->digest[0] = static_cast<uint8_t>(crc >> 24);
  context->digest[1] = static_cast<uint8_t>(crc >> 16);
  context->digest[2] = static_cast<uint8_t>(crc >> 8);
  context->digest[3] = static_cast<uint8_t>(crc);
}

void Crc32Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

uint32_t Crc32Update(const uint8_t* data, uint32_t length, uint32_t crc) {
  if (!data) return crc;
  return ~crc32Register(~crc, data, length);
}

int RegisterCrc32Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_CRC32);
  if (slot) {
    TakeChosenBackend(CRC32_BACKEND_TABLE);
    slot->create = Crc32Create;
    slot->update = Crc32UpdateContext;
    slot->finish = Crc32Finish;
    slot->free = Crc32Free;
  }
  return 1;
}
