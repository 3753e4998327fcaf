#include "toolkit/library_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "runtime/main_heap.h"

namespace {

std::atomic<int> runs;
std::atomic<bool> finished;

void SlowRoutine() {
  ++runs;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  finished = true;
}

using RunOnceFunction = void (*)(OnceFlag*, OnceRoutine);

// Every caller must come back only after the one run has finished.
void RaceThreads(RunOnceFunction runOnce) {
  runs = 0;
  finished = false;
  OnceFlag flag = 0;
  std::atomic<bool> go{false};
  std::atomic<int> returnedEarly{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      while (!go) std::this_thread::yield();
      runOnce(&flag, SlowRoutine);
      if (!finished) ++returnedEarly;
    });
  }
  go = true;
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(returnedEarly, 0);
  runOnce(&flag, SlowRoutine);
  EXPECT_EQ(runs, 1);
}

TEST(RunOnce, RunsOnceUnderRacingThreads) {
  RaceThreads(RunOnce);
}

TEST(RunOnce, TheCompareAndExchangePathRunsOnceUnderRacingThreads) {
  RaceThreads(RunOnceByCompareAndExchange);
}

TEST(RunOnce, SeparateFlagsRunSeparately) {
  runs = 0;
  OnceFlag first = 0, second = 0;
  RunOnce(&first, SlowRoutine);
  RunOnce(&second, SlowRoutine);
  RunOnce(&first, SlowRoutine);
  EXPECT_EQ(runs, 2);
}

struct TestState {
  int64_t values[8];
  int64_t marker;
};

TEST(LibraryState, IsZeroFilledAndPassedThroughItsInitRoutine) {
  auto* plain = static_cast<TestState*>(AllocateLibraryState(sizeof(TestState), nullptr));
  ASSERT_NE(plain, nullptr);
  for (int64_t value : plain->values) EXPECT_EQ(value, 0);
  auto* initialised = static_cast<TestState*>(AllocateLibraryState(
      sizeof(TestState), [](void* state) { static_cast<TestState*>(state)->marker = 7; }));
  EXPECT_EQ(initialised->marker, 7);
  EXPECT_EQ(initialised->values[3], 0);
  ReleaseToMainHeap(plain);
  ReleaseToMainHeap(initialised);
}

}  // namespace
