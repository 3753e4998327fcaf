#include "digest/worker_pool.h"

#include <system_error>

WorkerPool::WorkerPool(unsigned count) {
  threads.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    try {
      threads.emplace_back(&WorkerPool::Work, this, i);
    } catch (const std::system_error&) {
      break;
    }
  }
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> held(lock);
    stopping = true;
  }
  queued.notify_all();
  for (std::thread& thread : threads) thread.join();
}

void WorkerPool::Post(Task task) {
  Queue(std::move(task), false);
}

void WorkerPool::PostUrgent(Task task) {
  Queue(std::move(task), true);
}

bool WorkerPool::RunOneQueued(unsigned worker) {
  Task task;
  {
    std::lock_guard<std::mutex> held(lock);
    if (tasks.empty()) return false;
    task = std::move(tasks.front());
    tasks.pop_front();
  }
  task(worker);
  return true;
}

void WorkerPool::Queue(Task task, bool urgent) {
  bool wake;
  {
    std::lock_guard<std::mutex> held(lock);
    if (urgent) {
      tasks.push_front(std::move(task));
    } else {
      tasks.push_back(std::move(task));
    }
    wake = idle > 0;
  }
  if (wake) queued.notify_one();
}

void WorkerPool::Work(unsigned worker) {
  std::unique_lock<std::mutex> held(lock);
  for (;;) {
    ++idle;
    queued.wait(held, [&] { return !tasks.empty() || stopping; });
    --idle;
    if (tasks.empty()) return;
    Task task = std::move(tasks.front());
    tasks.pop_front();
    held.unlock();
    task(worker);
    held.lock();
  }
}
