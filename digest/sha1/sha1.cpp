// SHA-1's buffering, padding and length encoding; the block function comes from sha1_backend.h.
#include "digest/sha1/sha1.h"

#include <cstring>

#include "digest/shared/byte_order.h"
#include "digest/digest_plugin.h"
#include "digest/sha1/sha1_backend.h"
#include "runtime/main_heap.h"

Sha1BlocksFunction sha1Blocks = Sha1BlocksGeneric;

namespace {

constexpr int32_t SHA1_BITS = 160;
constexpr uint32_t SHA1_BLOCK_BYTES = 64;
constexpr uint32_t SHA1_INITIAL_STATE[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476,
                                            0xc3d2e1f0};

struct Sha1Context : DigestContext {
  uint32_t state[5];  // H0 to H4
  uint32_t count[2];  // message bits modulo 2^64, low half first
  uint8_t buffer[SHA1_BLOCK_BYTES];
  int32_t preserveInput;           // non-zero: transform copies, never the caller's bytes
  uint8_t work[SHA1_BLOCK_BYTES];  // the copy
};

uint32_t BufferedBytes(const Sha1Context* sha1) {
  return (sha1->count[0] >> 3) & (SHA1_BLOCK_BYTES - 1);
}

void AddToBitCount(Sha1Context* sha1, uint32_t length) {
  const uint32_t lowBits = length << 3;
  sha1->count[0] += lowBits;
  if (sha1->count[0] < lowBits) ++sha1->count[1];
  sha1->count[1] += length >> 29;
}

// The block function schedules in place, so with preserveInput each block goes through `work`.
void TransformBlocks(Sha1Context* sha1, uint8_t* blocks, size_t count) {
  if (!sha1->preserveInput) {
    sha1Blocks(sha1->state, blocks, count);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    std::memcpy(sha1->work, blocks + i * SHA1_BLOCK_BYTES, SHA1_BLOCK_BYTES);
    sha1Blocks(sha1->state, sha1->work, 1);
  }
}

void Sha1Absorb(Sha1Context* sha1, uint8_t* data, uint32_t length) {
  if (length == 0) return;
  const uint32_t index = BufferedBytes(sha1);
  AddToBitCount(sha1, length);
  if (uint64_t{index} + length < SHA1_BLOCK_BYTES) {
    std::memcpy(sha1->buffer + index, data, length);
    return;
  }
  const uint32_t partLength = SHA1_BLOCK_BYTES - index;
  std::memcpy(sha1->buffer + index, data, partLength);
  TransformBlocks(sha1, sha1->buffer, 1);
  const uint32_t wholeBlocks = (length - partLength) / SHA1_BLOCK_BYTES;
  TransformBlocks(sha1, data + partLength, wholeBlocks);
  const uint32_t done = partLength + wholeBlocks * SHA1_BLOCK_BYTES;
  std::memcpy(sha1->buffer, data + done, length - done);
}

DigestContext* Sha1Create(int32_t, int32_t preserveInput) {
  auto* sha1 = static_cast<Sha1Context*>(AllocateFromMainHeap(sizeof(Sha1Context)));
  if (!sha1) return nullptr;
  sha1->bits = SHA1_BITS;
  std::memcpy(sha1->state, SHA1_INITIAL_STATE, sizeof sha1->state);
  sha1->preserveInput = preserveInput;
  return sha1;
}

void Sha1Update(DigestContext* context, uint8_t* data, uint32_t length) {
  Sha1Absorb(static_cast<Sha1Context*>(context), data, length);
}

void Sha1Finish(DigestContext* context) {
  auto* sha1 = static_cast<Sha1Context*>(context);
  uint8_t bitCount[8];
  StoreBigEndian32(bitCount, sha1->count[1]);
  StoreBigEndian32(bitCount + 4, sha1->count[0]);
  uint8_t padByte = 0x80;
  Sha1Absorb(sha1, &padByte, 1);
  padByte = 0;
  while ((sha1->count[0] & 511) != 448) Sha1Absorb(sha1, &padByte, 1);
  Sha1Absorb(sha1, bitCount, sizeof bitCount);
  for (int i = 0; i < 5; ++i) StoreBigEndian32(sha1->digest + 4 * i, sha1->state[i]);
  // Nothing of the message outlives the digest.
  std::memset(sha1->buffer, 0, sizeof sha1->buffer);
  std::memset(sha1->state, 0, sizeof sha1->state);
  std::memset(sha1->count, 0, sizeof sha1->count);
  std::memset(sha1->work, 0, sizeof sha1->work);
}

void Sha1Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int RegisterSha1Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_SHA1);
  if (slot) {
    TakeChosenBackend(SHA1_BACKEND_TABLE);
    slot->create = Sha1Create;
    slot->update = Sha1Update;
    slot->finish = Sha1Finish;
    slot->free = Sha1Free;
  }
  return 1;
}
