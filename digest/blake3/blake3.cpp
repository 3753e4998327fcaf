// The BLAKE3 plugin: the authors' hasher behind the engine's four operations. Registration sets
// the dispatch to the widest class this processor runs (BackendRule::WIDEST), which is what the
// dispatch would find itself; set before any worker hashes, the dispatch never writes it from
// several threads.
#include "digest/blake3/blake3.h"

#include <blake3.h>

#include <cstring>

#include "digest/blake3/blake3_backend.h"
#include "digest/digest_plugin.h"
#include "digest/shared/compiler_barriers.h"
#include "runtime/main_heap.h"

#if DIGEST_X86_64_BACKENDS
bool ProcessorRunsBlake3Avx512(const ProcessorFeatures& cpu) {
  return cpu.avx512f && cpu.avx512vl;
}
bool ProcessorRunsBlake3Avx2(const ProcessorFeatures& cpu) {
  return cpu.avx2;
}
bool ProcessorRunsBlake3Sse41(const ProcessorFeatures& cpu) {
  return cpu.sse41;
}
#endif

void RunBlake3Pass(Blake3Features features, uint8_t* bytes, size_t length) {
  const Blake3Features before = g_cpu_features;
  g_cpu_features = features;
  blake3_hasher hasher;
  blake3_hasher_init(&hasher);
  blake3_hasher_update(&hasher, bytes, length);
  uint8_t digest[BLAKE3_OUT_LEN];
  blake3_hasher_finalize(&hasher, digest, sizeof digest);
  Settled(digest[0]);
  g_cpu_features = before;
}

namespace {

constexpr int32_t BLAKE3_BITS = BLAKE3_OUT_LEN * 8;

struct Blake3Context : DigestContext {
  blake3_hasher hasher;
};

DigestContext* Blake3Create(int32_t, int32_t) {
  auto* blake3 = static_cast<Blake3Context*>(AllocateFromMainHeap(sizeof(Blake3Context)));
  if (!blake3) return nullptr;
  blake3->bits = BLAKE3_BITS;
  blake3_hasher_init(&blake3->hasher);
  return blake3;
}

void Blake3Update(DigestContext* context, uint8_t* data, uint32_t length) {
  blake3_hasher_update(&static_cast<Blake3Context*>(context)->hasher, data, length);
}

void Blake3Finish(DigestContext* context) {
  auto* blake3 = static_cast<Blake3Context*>(context);
  blake3_hasher_finalize(&blake3->hasher, blake3->digest, BLAKE3_OUT_LEN);
  std::memset(&blake3->hasher, 0, sizeof blake3->hasher);
}

void Blake3Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int RegisterBlake3Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_BLAKE3);
  if (slot) {
    TakeChosenBackend(BLAKE3_BACKEND_TABLE);
    slot->create = Blake3Create;
    slot->update = Blake3Update;
    slot->finish = Blake3Finish;
    slot->free = Blake3Free;
  }
  return 1;
}
