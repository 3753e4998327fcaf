#include "toolkit/library_state.h"

#include <atomic>
#include <thread>

#include "runtime/main_heap.h"
#include "toolkit/run_once_system.h"

namespace {
constexpr OnceFlag ONCE_NOT_RUN = 0;
constexpr OnceFlag ONCE_RUNNING = 1;
constexpr OnceFlag ONCE_DONE = 2;
}  // namespace

void RunOnce(OnceFlag* flag, OnceRoutine routine) {
  if (RunOnceThroughSystem(flag, routine)) return;
  RunOnceByCompareAndExchange(flag, routine);
}

void RunOnceByCompareAndExchange(OnceFlag* flag, OnceRoutine routine) {
  std::atomic_ref<OnceFlag> state(*flag);
  OnceFlag seen = ONCE_NOT_RUN;
  if (state.compare_exchange_strong(seen, ONCE_RUNNING, std::memory_order_acq_rel)) {
    routine();
    state.store(ONCE_DONE, std::memory_order_release);
    return;
  }
  while (state.load(std::memory_order_acquire) != ONCE_DONE) std::this_thread::yield();
}

void* AllocateLibraryState(size_t size, LibraryStateInit init) {
  void* state = AllocateFromMainHeap(size);
  if (state && init) init(state);
  return state;
}
