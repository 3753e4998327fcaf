// SHA-3's sponge buffering and padding; the absorb function comes from keccak_backend.h.
#include "digest/sha3/sha3.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "digest/digest_plugin.h"
#include "digest/sha3/keccak_backend.h"
#include "runtime/main_heap.h"

KeccakAbsorbFunction keccakAbsorb = KeccakAbsorbGeneric;

namespace {

constexpr int32_t DEFAULT_BITS = 256;
constexpr uint32_t LARGEST_RATE = 144;
constexpr int32_t FINISHED = INT32_MIN;  // `position` of a finished context
constexpr uint8_t SHA3_SUFFIX = 0x06;    // domain bits 01 and the first bit of pad10*1
constexpr uint8_t PAD_END = 0x80;        // the last bit of pad10*1

struct Sha3Context : DigestContext {
  uint64_t lanes[KECCAK_LANES];
  uint8_t block[192];  // a block not yet complete, or a copy of an unaligned one; `rate` used
  int32_t position;    // bytes held in `block`, or FINISHED
  uint32_t rate;       // block size in bytes: (1600 - 2 * bits) / 8
};
static_assert(sizeof(Sha3Context::block) >= LARGEST_RATE);

// Whole blocks at an 8-byte-aligned address are absorbed where they lie; otherwise each is
// copied into `block` first.
void AbsorbWholeBlocks(Sha3Context* sha3, const uint8_t* data, size_t count) {
  if (reinterpret_cast<uintptr_t>(data) % sizeof(uint64_t) == 0) {
    keccakAbsorb(sha3->lanes, data, count, sha3->rate);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    std::memcpy(sha3->block, data + i * sha3->rate, sha3->rate);
    keccakAbsorb(sha3->lanes, sha3->block, 1, sha3->rate);
  }
}

DigestContext* Sha3Create(int32_t bits, int32_t) {
  if (bits == 0) bits = DEFAULT_BITS;
  if (bits != 224 && bits != 256 && bits != 384 && bits != 512) return nullptr;
  auto* sha3 = static_cast<Sha3Context*>(AllocateFromMainHeap(sizeof(Sha3Context)));
  if (!sha3) return nullptr;
  sha3->bits = bits;
  std::memset(sha3->lanes, 0, sizeof sha3->lanes);
  std::memset(sha3->block, 0, sizeof sha3->block);
  sha3->position = 0;
  sha3->rate = static_cast<uint32_t>(1600 - 2 * bits) / 8;
  return sha3;
}

void Sha3Update(DigestContext* context, uint8_t* data, uint32_t length) {
  auto* sha3 = static_cast<Sha3Context*>(context);
  if (sha3->position < 0 || length == 0) return;
  const uint32_t rate = sha3->rate;
  const auto oldPosition = static_cast<uint32_t>(sha3->position);
  sha3->position = static_cast<int32_t>((uint64_t{oldPosition} + length) % rate);
  if (oldPosition != 0) {
    const uint32_t missing = rate - oldPosition;
    std::memcpy(sha3->block + oldPosition, data, std::min(length, missing));
    if (length < missing) return;
    keccakAbsorb(sha3->lanes, sha3->block, 1, rate);
    data += missing;
    length -= missing;
  }
  const uint32_t wholeBlocks = length / rate;
  AbsorbWholeBlocks(sha3, data, wholeBlocks);
  const uint32_t done = wholeBlocks * rate;
  std::memcpy(sha3->block, data + done, length - done);
}

void Sha3Finish(DigestContext* context) {
  auto* sha3 = static_cast<Sha3Context*>(context);
  if (sha3->position >= 0) {
    const auto position = static_cast<uint32_t>(sha3->position);
    std::memset(sha3->block + position, 0, sha3->rate - position);
    sha3->block[position] |= SHA3_SUFFIX;
    sha3->block[sha3->rate - 1] |= PAD_END;  // 0x86 when both land in the last byte
    keccakAbsorb(sha3->lanes, sha3->block, 1, sha3->rate);
    sha3->position = FINISHED;
  }
  // The state's bytes in FIPS 202 order: byte k is byte k mod 8 of lane k div 8, low first.
  for (int k = 0; k < sha3->bits / 8; ++k) {
    sha3->digest[k] = static_cast<uint8_t>(sha3->lanes[k / 8] >> (8 * (k % 8)));
  }
}

void Sha3Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int RegisterSha3Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_SHA3);
  if (slot) {
    TakeChosenBackend(KECCAK_BACKEND_TABLE);
    slot->create = Sha3Create;
    slot->update = Sha3Update;
    slot->finish = Sha3Finish;
    slot->free = Sha3Free;
  }
  return 1;
}
