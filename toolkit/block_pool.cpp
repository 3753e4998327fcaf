#include "toolkit/block_pool.h"

#include <mutex>
#include <new>

#include "runtime/main_heap.h"
#include "toolkit/library_state.h"

struct PoolChunk {
  PoolChunk* next;
  PoolChunk* previous;
  uint8_t* firstFree;  // chain through the freed slots' first 8 bytes
  int32_t slotCount;
  int32_t handedOut;  // from the untouched part; only grows
  int32_t freeCount;  // on the free chain
};

struct SharedPoolEntry {
  SharedPoolEntry* next;
  SharedPoolEntry* previous;
  BlockPool* pool;
  int64_t slotSize;
  uint32_t flags;
  int32_t references;
};

namespace {

constexpr uint32_t POOL_LOCK_BITS = 3;  // the lock needs exactly 1 in the two lowest bits

SharedPoolEntry* sharedPools;
OnceFlag sharedPoolsLockMade;
std::mutex* sharedPoolsLock;  // ours, lives with the process

void MakeSharedPoolsLock() {
  sharedPoolsLock = new (AllocateFromMainHeap(sizeof(std::mutex))) std::mutex;
}

// Holds the pool's own lock, when it has one, for the scope.
class PoolGuard {
 public:
  explicit PoolGuard(BlockPool* pool)
      : lock_(pool->locked ? static_cast<std::mutex*>(pool->lock) : nullptr) {
    if (lock_) lock_->lock();
  }
  ~PoolGuard() {
    if (lock_) lock_->unlock();
  }
  PoolGuard(const PoolGuard&) = delete;
  PoolGuard& operator=(const PoolGuard&) = delete;

 private:
  std::mutex* lock_;
};

uint8_t* FirstSlot(PoolChunk* chunk) {
  return reinterpret_cast<uint8_t*>(chunk + 1);
}

void PushChunk(PoolChunk** list, PoolChunk* chunk) {
  chunk->previous = nullptr;
  chunk->next = *list;
  if (chunk->next) chunk->next->previous = chunk;
  *list = chunk;
}

void UnlinkChunk(PoolChunk** list, PoolChunk* chunk) {
  if (chunk->previous) {
    chunk->previous->next = chunk->next;
  } else {
    *list = chunk->next;
  }
  if (chunk->next) chunk->next->previous = chunk->previous;
}

void ReleaseChunkList(PoolChunk** list) {
  while (PoolChunk* chunk = *list) {
    *list = chunk->next;
    ReleaseToMainHeap(chunk);
  }
}

// Items of a new chunk: 1/16 of the pool's items, in steps of 16, within minItems and maxItems.
int32_t NewChunkItems(const BlockPool* pool) {
  int64_t grown = (pool->itemCount >> 4) & ~int64_t{15};
  if (grown < pool->minItems) return pool->minItems;
  return static_cast<int32_t>(grown < pool->maxItems ? grown : pool->maxItems);
}

PoolChunk* AllocateChunk(const BlockPool* pool, int32_t items) {
  size_t bytes =
      sizeof(PoolChunk) + static_cast<size_t>(pool->slotSize) * static_cast<size_t>(items);
  return static_cast<PoolChunk*>(AllocateFromMainHeap(bytes));
}

uint8_t* TakeSlotFromOpenChunk(BlockPool* pool, PoolChunk* chunk) {
  uint8_t* slot;
  if (chunk->firstFree) {
    slot = chunk->firstFree;
    chunk->firstFree = *reinterpret_cast<uint8_t**>(slot);
    --chunk->freeCount;
  } else {
    slot = FirstSlot(chunk) + pool->slotSize * chunk->handedOut++;
  }
  if (!chunk->firstFree && chunk->handedOut == chunk->slotCount) {
    UnlinkChunk(&pool->openChunks, chunk);
    PushChunk(&pool->fullChunks, chunk);
  }
  return slot;
}

uint8_t* TakeSlotFromNewChunk(BlockPool* pool, PoolChunk** taken) {
  int32_t items = NewChunkItems(pool);
  PoolChunk* chunk = AllocateChunk(pool, items);
  if (!chunk) {
    items = 1;
    chunk = AllocateChunk(pool, items);
    if (!chunk) return nullptr;
  }
  chunk->firstFree = nullptr;
  chunk->slotCount = items;
  chunk->handedOut = 1;
  chunk->freeCount = 0;
  pool->itemCount += items;
  PushChunk(items == 1 ? &pool->fullChunks : &pool->openChunks, chunk);
  *taken = chunk;
  return FirstSlot(chunk);
}

BlockPool* CreatePrivatePool(int64_t slotSize, int32_t minItems, int32_t maxItems, uint32_t flags) {
  auto* pool = static_cast<BlockPool*>(AllocateFromMainHeap(sizeof(BlockPool)));
  if (!pool) return nullptr;
  pool->fullChunks = nullptr;
  pool->openChunks = nullptr;
  pool->sharedEntry = nullptr;
  pool->itemCount = 0;
  pool->slotSize = slotSize;
  pool->minItems = minItems;
  pool->maxItems = maxItems;
  pool->locked = (flags & POOL_LOCK_BITS) == POOL_LOCKED ? 1 : 0;
  pool->lock = nullptr;
  if (pool->locked) {
    void* lock = AllocateFromMainHeap(sizeof(std::mutex));
    if (!lock) {
      ReleaseToMainHeap(pool);
      return nullptr;
    }
    pool->lock = new (lock) std::mutex;
  }
  return pool;
}

void DestroyPrivatePool(BlockPool* pool) {
  {
    PoolGuard guard(pool);
    ReleaseChunkList(&pool->fullChunks);
    ReleaseChunkList(&pool->openChunks);
    pool->itemCount = 0;
  }
  if (pool->lock) {
    static_cast<std::mutex*>(pool->lock)->~mutex();
    ReleaseToMainHeap(pool->lock);
  }
  ReleaseToMainHeap(pool);
}

SharedPoolEntry* FindSharedPool(int64_t slotSize, uint32_t flags) {
  for (SharedPoolEntry* entry = sharedPools; entry; entry = entry->next) {
    if (entry->slotSize == slotSize && entry->flags == flags) return entry;
  }
  return nullptr;
}

BlockPool* ObtainSharedPool(int64_t slotSize, int32_t minItems, int32_t maxItems, uint32_t flags) {
  RunOnce(&sharedPoolsLockMade, MakeSharedPoolsLock);
  std::lock_guard<std::mutex> guard(*sharedPoolsLock);
  if (SharedPoolEntry* entry = FindSharedPool(slotSize, flags)) {
    ++entry->references;
    return entry->pool;
  }
  auto* entry = static_cast<SharedPoolEntry*>(AllocateFromMainHeap(sizeof(SharedPoolEntry)));
  if (!entry) return nullptr;
  BlockPool* pool = CreatePrivatePool(slotSize, minItems, maxItems, flags & ~POOL_SHARED);
  if (!pool) {
    ReleaseToMainHeap(entry);
    return nullptr;
  }
  pool->sharedEntry = entry;
  entry->pool = pool;
  entry->slotSize = slotSize;
  entry->flags = flags;
  entry->references = 1;
  entry->previous = nullptr;
  entry->next = sharedPools;
  if (entry->next) entry->next->previous = entry;
  sharedPools = entry;
  return pool;
}

void ReleaseSharedPool(BlockPool* pool) {
  std::lock_guard<std::mutex> guard(*sharedPoolsLock);
  SharedPoolEntry* entry = pool->sharedEntry;
  if (--entry->references > 0) return;
  entry->pool = nullptr;
  pool->sharedEntry = nullptr;
  DestroyPrivatePool(pool);
  if (entry->previous) {
    entry->previous->next = entry->next;
  } else {
    sharedPools = entry->next;
  }
  if (entry->next) entry->next->previous = entry->previous;
  ReleaseToMainHeap(entry);
}

}  // namespace

BlockPool* CreateBlockPool(int32_t itemSize, int32_t minItems, int32_t maxItems, uint32_t flags) {
  int64_t slotSize = (int64_t{itemSize} + POOL_SLOT_HEADER + 7) & ~int64_t{7};
  if (flags & POOL_SHARED) return ObtainSharedPool(slotSize, minItems, maxItems, flags);
  return CreatePrivatePool(slotSize, minItems, maxItems, flags);
}

void* PoolAllocate(BlockPool* pool) {
  PoolGuard guard(pool);
  PoolChunk* chunk = pool->openChunks;
  uint8_t* slot = chunk ? TakeSlotFromOpenChunk(pool, chunk) : TakeSlotFromNewChunk(pool, &chunk);
  if (!slot) return nullptr;
  *reinterpret_cast<PoolChunk**>(slot) = chunk;
  return slot + POOL_SLOT_HEADER;
}

void PoolFree(BlockPool* pool, void* item) {
  PoolGuard guard(pool);
  uint8_t* slot = static_cast<uint8_t*>(item) - POOL_SLOT_HEADER;
  PoolChunk* chunk = *reinterpret_cast<PoolChunk**>(slot);
  bool wasFull = !chunk->firstFree && chunk->handedOut == chunk->slotCount;
  *reinterpret_cast<uint8_t**>(slot) = chunk->firstFree;
  chunk->firstFree = slot;
  ++chunk->freeCount;
  if (chunk->freeCount == chunk->handedOut) {
    UnlinkChunk(chunk->slotCount == 1 ? &pool->fullChunks : &pool->openChunks, chunk);
    pool->itemCount -= chunk->slotCount;
    ReleaseToMainHeap(chunk);
  } else if (wasFull) {
    UnlinkChunk(&pool->fullChunks, chunk);
    PushChunk(&pool->openChunks, chunk);
  }
}

void DestroyBlockPool(BlockPool* pool) {
  if (!pool) return;
  if (pool->sharedEntry) {
    ReleaseSharedPool(pool);
  } else {
    DestroyPrivatePool(pool);
  }
}
