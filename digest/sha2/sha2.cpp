// SHA-2's buffering, padding and length encoding for both word sizes; the block functions come
// from sha2_backend.h.
#include "digest/sha2/sha2.h"

#include <algorithm>
#include <cstring>

#include "digest/shared/byte_order.h"
#include "digest/digest_plugin.h"
#include "digest/sha2/sha2_backend.h"
#include "runtime/main_heap.h"

Sha256BlocksFunction sha256Blocks = Sha256BlocksGeneric;
Sha512BlocksFunction sha512Blocks = Sha512BlocksGeneric;

namespace {

// Initial hash values of FIPS 180-4, sections 5.3.2 to 5.3.5.
constexpr uint32_t SHA224_INITIAL_HASH[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                                             0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr uint32_t SHA256_INITIAL_HASH[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
constexpr uint64_t SHA384_INITIAL_HASH[8] = {
    0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17, 0x152fecd8f70e5939,
    0x67332667ffc00b31, 0x8eb44a8768581511, 0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
constexpr uint64_t SHA512_INITIAL_HASH[8] = {
    0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b, 0xa54ff53a5f1d36f1,
    0x510e527fade682d1, 0x9b05688c2b3e6c1f, 0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};

constexpr int32_t DEFAULT_BITS = 256;

// The state of one word size; Word is the hash word, BLOCK_BYTES the block size.
template <typename Word, uint32_t BLOCK_BYTES>
struct Sha2Family {
  uint8_t block[BLOCK_BYTES];  // bytes not yet transformed
  uint64_t byteCount;          // message bytes fed so far
  Word hash[8];                // H0 to H7
  uint32_t outputBytes;        // digest bytes kept from H0 onwards
};

using Sha256Family = Sha2Family<uint32_t, 64>;   // SHA-224 and SHA-256
using Sha512Family = Sha2Family<uint64_t, 128>;  // SHA-384 and SHA-512

struct Sha2Context : DigestContext {
  union {  // `bits` says which
    Sha256Family family256;
    Sha512Family family512;
  };
};

bool UsesFamily256(const DigestContext* context) {
  return context->bits == 224 || context->bits == 256;
}

inline void StoreBigEndian(uint8_t* p, uint32_t word) {
  StoreBigEndian32(p, word);
}
inline void StoreBigEndian(uint8_t* p, uint64_t word) {
  StoreBigEndian64(p, word);
}

// Whole blocks at an address aligned for the hash word go to the block function where they
// lie; otherwise each is copied into `block` first.
template <typename Family, typename Blocks>
void TransformWholeBlocks(Family& family, Blocks blocks, const uint8_t* data, size_t count) {
  constexpr size_t BLOCK_BYTES = sizeof family.block;
  if (reinterpret_cast<uintptr_t>(data) % sizeof family.hash[0] == 0) {
    blocks(family.hash, data, count);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    std::memcpy(family.block, data + i * BLOCK_BYTES, BLOCK_BYTES);
    blocks(family.hash, family.block, 1);
  }
}

template <typename Family, typename Blocks>
void AbsorbInto(Family& family, Blocks blocks, const uint8_t* data, uint32_t length) {
  constexpr uint32_t BLOCK_BYTES = sizeof family.block;
  if (length == 0) return;
  const uint32_t position = static_cast<uint32_t>(family.byteCount % BLOCK_BYTES);
  family.byteCount += length;
  if (position != 0) {
    const uint32_t taken = std::min(length, BLOCK_BYTES - position);
    std::memcpy(family.block + position, data, taken);
    if (position + taken < BLOCK_BYTES) return;
    blocks(family.hash, family.block, 1);
    data += taken;
    length -= taken;
  }
  const uint32_t wholeBlocks = length / BLOCK_BYTES;
  TransformWholeBlocks(family, blocks, data, wholeBlocks);
  const uint32_t done = wholeBlocks * BLOCK_BYTES;
  std::memcpy(family.block, data + done, length - done);
}

// Pads `block` word by word: 0x80 after the message, zeros, and the bit length in the last two
// words (for 64-bit words the upper word of the 128-bit length is always zero).
template <typename Family, typename Blocks>
void FinishFamily(Family& family, Blocks blocks, uint8_t* digest) {
  constexpr uint32_t BLOCK_BYTES = sizeof family.block;
  constexpr uint32_t WORD_BYTES = sizeof family.hash[0];
  constexpr uint32_t LENGTH_FIELD = 14 * WORD_BYTES;  // words 14 and 15

  const uint32_t position = static_cast<uint32_t>(family.byteCount % BLOCK_BYTES);
  const uint32_t wordEnd = (position / WORD_BYTES + 1) * WORD_BYTES;
  family.block[position] = 0x80;
  std::memset(family.block + position + 1, 0, wordEnd - position - 1);
  if (position >= LENGTH_FIELD) {
    std::memset(family.block + wordEnd, 0, BLOCK_BYTES - wordEnd);
    blocks(family.hash, family.block, 1);
    std::memset(family.block, 0, BLOCK_BYTES);
  } else {
    std::memset(family.block + wordEnd, 0, LENGTH_FIELD - wordEnd);
  }
  std::memset(family.block + LENGTH_FIELD, 0, BLOCK_BYTES - LENGTH_FIELD - 8);
  StoreBigEndian64(family.block + BLOCK_BYTES - 8, family.byteCount << 3);
  blocks(family.hash, family.block, 1);

  uint8_t words[8 * WORD_BYTES];
  for (int i = 0; i < 8; ++i) StoreBigEndian(words + i * WORD_BYTES, family.hash[i]);
  std::memcpy(digest, words, family.outputBytes);
}

template <typename Family, typename Word>
void StartFamily(Family& family, const Word (&initialHash)[8], uint32_t outputBytes) {
  std::memcpy(family.hash, initialHash, sizeof family.hash);
  family.outputBytes = outputBytes;
}

DigestContext* Sha2Create(int32_t bits, int32_t) {
  if (bits == 0) bits = DEFAULT_BITS;
  if (bits != 224 && bits != 256 && bits != 384 && bits != 512) return nullptr;
  auto* sha2 = static_cast<Sha2Context*>(AllocateFromMainHeap(sizeof(Sha2Context)));
  if (!sha2) return nullptr;
  sha2->bits = bits;
  switch (bits) {
    case 224:
      StartFamily(sha2->family256, SHA224_INITIAL_HASH, 28);
      break;
    case 256:
      StartFamily(sha2->family256, SHA256_INITIAL_HASH, 32);
      break;
    case 384:
      StartFamily(sha2->family512, SHA384_INITIAL_HASH, 48);
      break;
    default:
      StartFamily(sha2->family512, SHA512_INITIAL_HASH, 64);
      break;
  }
  return sha2;
}

void Sha2Update(DigestContext* context, uint8_t* data, uint32_t length) {
  auto* sha2 = static_cast<Sha2Context*>(context);
  if (UsesFamily256(context)) {
    AbsorbInto(sha2->family256, sha256Blocks, data, length);
  } else {
    AbsorbInto(sha2->family512, sha512Blocks, data, length);
  }
}

void Sha2Finish(DigestContext* context) {
  auto* sha2 = static_cast<Sha2Context*>(context);
  if (UsesFamily256(context)) {
    FinishFamily(sha2->family256, sha256Blocks, sha2->digest);
  } else {
    FinishFamily(sha2->family512, sha512Blocks, sha2->digest);
  }
}

void Sha2Free(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int RegisterSha2Plugin() {
  DigestPlugin* slot = RegisterDigestPlugin(DIGEST_SHA2);
  if (slot) {
    TakeChosenBackend(SHA256_BACKEND_TABLE);
    TakeChosenBackend(SHA512_BACKEND_TABLE);
    slot->create = Sha2Create;
    slot->update = Sha2Update;
    slot->finish = Sha2Finish;
    slot->free = Sha2Free;
  }
  return 1;
}
