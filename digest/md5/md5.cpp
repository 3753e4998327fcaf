// MD5's buffering, padding and length encoding (RFC 1321, init, update and final); the block
// function comes from md5_backend.h.
#include "digest/md5/md5.h"

#include <cstring>

#include "digest/shared/byte_order.h"
#include "digest/digest_plugin.h"
#include "digest/md5/md5_backend.h"
#include "runtime/main_heap.h"

Md5BlocksFunction md5Blocks = Md5BlocksGeneric;

namespace {

constexpr int32_t MD5_BITS = 128;
constexpr uint32_t MD5_BLOCK_BYTES = 64;
constexpr uint32_t MD5_INITIAL_STATE[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
constexpr uint8_t MD5_PADDING[MD5_BLOCK_BYTES] = {0x80};

struct Md5Context : DigestContext {
  uint32_t state[4];  // A, B, C, D
  uint32_t count[2];  // message bits modulo 2^64, low half first
  uint8_t buffer[MD5_BLOCK_BYTES];
};

uint32_t BufferedBytes(const Md5Context* md5) {
  return (md5->count[0] >> 3) & (MD5_BLOCK_BYTES - 1);
}

void AddToBitCount(Md5Context* md5, uint32_t length) {
  const uint32_t lowBits = length << 3;
  md5->count[0] += lowBits;
  if (md5->count[0] < lowBits) ++md5->count[1];
  md5->count[1] += length >> 29;
}

void Md5Absorb(Md5Context* md5, const uint8_t* data, uint32_t length) {
  if (length == 0) return;
  const uint32_t index = BufferedBytes(md5);
  AddToBitCount(md5, length);
  const uint32_t partLength = MD5_BLOCK_BYTES - index;
  if (length < partLength) {
    std::memcpy(md5->buffer + index, data, length);
    return;
  }
  std::memcpy(md5->buffer + index, data, partLength);
  md5Blocks(md5->state, md5->buffer, 1);
  const uint32_t wholeBlocks = (length - partLength) / MD5_BLOCK_BYTES;
  md5Blocks(md5->state, data + partLength, wholeBlocks);
  const uint32_t done = partLength + wholeBlocks * MD5_BLOCK_BYTES;
  std::memcpy(md5->buffer, data + done, length - done);
}

DigestContext* Md5Create(int32_t, int32_t) {
  auto* md5 = static_cast<Md5Context*>(AllocateFromMainHeap(sizeof(Md5Context)));
  if (!md5) return nullptr;
  md5->bits = MD5_BITS;
  std::memcpy(md5->state, MD5_INITIAL_STATE, sizeof md5->state);
  return md5;
}

void Md5Update(DigestContext* context, uint8_t* data, uint32_t length) {
  Md5Absorb(static_cast<Md5Context*>(context), data, length);
}

void Md5Finish(DigestContext* context) {
  auto* md5 = static_cast<Md5Context*>(context);
  uint8_t bitCount[8];
  StoreLittleEndian32(bitCount, md5->count[0]);
  StoreLittleEndian32(bitCount + 4, md5->count[1]);
  const uint32_t index = BufferedBytes(md5);
  Md5Absorb(md5, MD5_PADDING, index < 56 ? 56 - index : 120 - index);
  Md5Absorb(md5, bitCount, sizeof bitCount);
  for (int i = 0; i < 4; ++i) StoreLittleEndian32(md5->digest + 4 * i, md5->state[i]);
  // Nothing of the message outlives the digest.
  std::memset(md5->state, 0, sizeof md5->state);
  std::memset(md5->count, 0, sizeof md5->count);
  std::memset(md5->buffer, 0, sizeof md5->buffer);
}

void Md5Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int RegisterMd5Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_MD5);
  if (slot) {
    TakeChosenBackend(MD5_BACKEND_TABLE);
    slot->create = Md5Create;
    slot->update = Md5Update;
    slot->finish = Md5Finish;
    slot->free = Md5Free;
  }
  return 1;
}
