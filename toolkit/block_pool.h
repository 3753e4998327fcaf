#pragma once
// Pooled allocation of small items of one size, carved from chunks of the main heap whose size
// grows with the pool. A chunk goes back to the heap as soon as none of its items is in use.
#include <cstdint>

constexpr uint32_t POOL_LOCKED = 1;  // own lock; only when bit 2 is clear as well
constexpr uint32_t POOL_SHARED = 4;  // one pool for every caller with the same slot size and flags

struct PoolChunk;
struct SharedPoolEntry;

struct BlockPool {
  PoolChunk* fullChunks;
  PoolChunk* openChunks;  // allocation takes from the first
  SharedPoolEntry* sharedEntry;
  int64_t itemCount;  // items of all chunks, used and free
  int64_t slotSize;   // item size plus the 8-byte back-pointer, a multiple of 8
  int32_t minItems;
  int32_t maxItems;
  uint32_t locked;
  void* lock;  // ours, only when locked
};

// Bytes before each item that point back to its chunk while the item is in use.
constexpr int64_t POOL_SLOT_HEADER = 8;

BlockPool* CreateBlockPool(int32_t itemSize, int32_t minItems, int32_t maxItems, uint32_t flags);

// An item of undefined content, or null when the heap has no room even for a one-item chunk.
void* PoolAllocate(BlockPool* pool);

// The item must come from this pool.
void PoolFree(BlockPool* pool, void* item);

// Drops one reference of a shared pool; frees a private one with all its chunks.
void DestroyBlockPool(BlockPool* pool);
