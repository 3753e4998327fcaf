#include "toolkit/block_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "runtime/main_heap.h"

namespace {

constexpr uint32_t UNLOCKED = 2;

void* ChunkOf(void* item) {
  return *reinterpret_cast<void**>(static_cast<uint8_t*>(item) - 8);
}

// Allocates until the pool makes a new chunk and returns that chunk's item count.
int64_t NextChunkItems(BlockPool* pool, std::vector<void*>* items) {
  int64_t before = pool->itemCount;
  while (pool->itemCount == before) items->push_back(PoolAllocate(pool));
  return pool->itemCount - before;
}

TEST(BlockPool, ItemsSitEightBytesIntoSlotsOfTheRoundedSize) {
  size_t before = MainHeapBytesInUse();
  BlockPool* pool = CreateBlockPool(56, 16, 256, UNLOCKED);
  ASSERT_NE(pool, nullptr);
  EXPECT_EQ(pool->slotSize, 64);
  EXPECT_EQ(pool->locked, 0u);

  std::vector<void*> items;
  for (int i = 0; i < 16; ++i) items.push_back(PoolAllocate(pool));
  EXPECT_EQ(pool->itemCount, 16);
  for (int i = 1; i < 16; ++i) {
    EXPECT_EQ(static_cast<uint8_t*>(items[i]) - static_cast<uint8_t*>(items[i - 1]), 64);
    EXPECT_EQ(ChunkOf(items[i]), ChunkOf(items[0]));
  }
  // The back-pointer names the chunk, whose slots begin right after its header.
  EXPECT_GT(static_cast<uint8_t*>(items[0]) - 8, static_cast<uint8_t*>(ChunkOf(items[0])));
  for (void* item : items)
    std::fill_n(static_cast<uint8_t*>(item), 56, 0xA5);  // all 56 bytes usable

  for (void* item : items) PoolFree(pool, item);
  EXPECT_EQ(pool->itemCount, 0);
  EXPECT_EQ(pool->openChunks, nullptr);
  EXPECT_EQ(pool->fullChunks, nullptr);
  DestroyBlockPool(pool);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

TEST(BlockPool, ChunksGrowBySixteenItemsForEveryFurther256) {
  BlockPool* pool = CreateBlockPool(24, 16, 256, UNLOCKED);
  std::vector<void*> items;
  std::vector<std::pair<int64_t, int64_t>> chunks;  // (items before, items of the new chunk)
  while (pool->itemCount < 9000) {
    int64_t before = pool->itemCount;
    chunks.emplace_back(before, NextChunkItems(pool, &items));
  }
  for (auto [before, size] : chunks) {
    if (before < 512) {
      EXPECT_EQ(size, 16) << before;
    } else if (before >= 4096) {
      EXPECT_EQ(size, 256) << before;
    }
  }
  auto sizeAt = [&](int64_t count) {
    for (auto [before, size] : chunks) {
      if (before == count) return size;
    }
    return int64_t{-1};
  };
  EXPECT_EQ(sizeAt(0), 16);
  EXPECT_EQ(sizeAt(512), 32);
  EXPECT_EQ(sizeAt(768), 48);
  EXPECT_EQ(sizeAt(1056), 64);
  for (void* item : items) PoolFree(pool, item);
  EXPECT_EQ(pool->itemCount, 0);
  DestroyBlockPool(pool);
}

TEST(BlockPool, NewChunksHoldAtLeastMinItems) {
  BlockPool* pool = CreateBlockPool(8, 100, 1000, UNLOCKED);
  void* item = PoolAllocate(pool);
  EXPECT_EQ(pool->itemCount, 100);
  PoolFree(pool, item);
  DestroyBlockPool(pool);
}

TEST(BlockPool, FreedSlotsAreHandedOutAgainNewestFirstBeforeANewChunk) {
  BlockPool* pool = CreateBlockPool(40, 16, 256, UNLOCKED);
  std::vector<void*> items;
  for (int i = 0; i < 16; ++i) items.push_back(PoolAllocate(pool));
  ASSERT_EQ(pool->openChunks, nullptr) << "a chunk with every slot handed out is full";
  PoolFree(pool, items[3]);
  PoolFree(pool, items[9]);
  EXPECT_NE(pool->openChunks, nullptr);
  EXPECT_EQ(PoolAllocate(pool), items[9]);
  EXPECT_EQ(PoolAllocate(pool), items[3]);
  EXPECT_EQ(pool->itemCount, 16);
  for (void* item : items) PoolFree(pool, item);
  DestroyBlockPool(pool);
}

TEST(BlockPool, AChunkGoesBackAsSoonAsNoneOfItsItemsIsInUse) {
  BlockPool* pool = CreateBlockPool(40, 16, 256, UNLOCKED);
  std::vector<void*> first, second;
  for (int i = 0; i < 16; ++i) first.push_back(PoolAllocate(pool));
  for (int i = 0; i < 5; ++i) second.push_back(PoolAllocate(pool));
  ASSERT_EQ(pool->itemCount, 32);
  for (void* item : first) PoolFree(pool, item);
  EXPECT_EQ(pool->itemCount, 16);
  for (void* item : second) PoolFree(pool, item);
  EXPECT_EQ(pool->itemCount, 0);
  DestroyBlockPool(pool);
}

TEST(BlockPool, DestroyingAPoolWithItemsInUseFreesItsChunks) {
  size_t before = MainHeapBytesInUse();
  BlockPool* pool = CreateBlockPool(100, 16, 256, UNLOCKED);
  for (int i = 0; i < 1000; ++i) PoolAllocate(pool);
  DestroyBlockPool(pool);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

TEST(BlockPool, SharedPoolsAreOnePerSlotSizeAndFlagsAndCounted) {
  DestroyBlockPool(CreateBlockPool(8, 16, 65536, POOL_SHARED));  // makes the list's lock for good
  size_t before = MainHeapBytesInUse();
  BlockPool* first = CreateBlockPool(56, 16, 65536, POOL_SHARED);
  BlockPool* same = CreateBlockPool(50, 16, 65536, POOL_SHARED);  // also 64-byte slots
  BlockPool* locked = CreateBlockPool(56, 16, 65536, POOL_SHARED | POOL_LOCKED);
  BlockPool* larger = CreateBlockPool(64, 16, 65536, POOL_SHARED);
  EXPECT_EQ(first, same);
  EXPECT_NE(first, locked);
  EXPECT_NE(first, larger);
  EXPECT_EQ(first->locked, 0u);
  EXPECT_EQ(locked->locked, 1u) << "the shared request's lock flag reaches the pool";

  void* item = PoolAllocate(first);
  DestroyBlockPool(same);
  PoolFree(first, item);  // still alive after the first release
  EXPECT_EQ(CreateBlockPool(56, 16, 65536, POOL_SHARED), first);
  DestroyBlockPool(first);
  DestroyBlockPool(first);
  DestroyBlockPool(locked);
  DestroyBlockPool(larger);
  EXPECT_EQ(MainHeapBytesInUse(), before);
}

TEST(BlockPool, TheLockFlagCountsOnlyWithoutBitTwo) {
  BlockPool* locked = CreateBlockPool(16, 16, 256, POOL_LOCKED);
  BlockPool* unlocked = CreateBlockPool(16, 16, 256, POOL_LOCKED | 2);
  EXPECT_EQ(locked->locked, 1u);
  EXPECT_EQ(unlocked->locked, 0u);
  DestroyBlockPool(locked);
  DestroyBlockPool(unlocked);
}

TEST(BlockPool, ALockedPoolServesRacingThreads) {
  BlockPool* pool = CreateBlockPool(32, 16, 256, POOL_LOCKED);
  constexpr int THREADS = 4;
  constexpr int ROUNDS = 2000;
  std::vector<std::thread> threads;
  std::vector<int> corrupted(THREADS);
  for (int t = 0; t < THREADS; ++t) {
    threads.emplace_back([pool, t, &corrupted] {
      std::vector<int64_t*> mine;
      for (int round = 0; round < ROUNDS; ++round) {
        auto* item = static_cast<int64_t*>(PoolAllocate(pool));
        *item = t * ROUNDS + round;
        mine.push_back(item);
        if (round % 3 == 2) {
          PoolFree(pool, mine.front());
          mine.erase(mine.begin());
        }
      }
      for (int64_t* item : mine) {
        if (*item / ROUNDS != t) ++corrupted[t];
        PoolFree(pool, item);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < THREADS; ++t) EXPECT_EQ(corrupted[t], 0) << t;
  EXPECT_EQ(pool->itemCount, 0);
  DestroyBlockPool(pool);
}

}  // namespace
