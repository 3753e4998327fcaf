#pragma once
// A fixed set of threads for a whole run of digests: started once, they take tasks in the order
// posted, an urgent one before every ordinary one. Each task is told the number of the worker
// that runs it, so that it can use that worker's own buffers.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WorkerPool {
 public:
  using Task = std::function<void(unsigned worker)>;

  // Starts up to `threads` workers; fewer (even none) when the system refuses more.
  explicit WorkerPool(unsigned threads);
  // Runs what is still queued, then joins every worker.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // The workers started; tasks must not be posted to a pool of none, which would never run them.
  unsigned Size() const { return static_cast<unsigned>(threads.size()); }
  void Post(Task task);
  void PostUrgent(Task task);
  // Runs the first task still queued on the calling thread, telling it `worker` as its number;
  // false when none is queued.
  bool RunOneQueued(unsigned worker);

 private:
  void Queue(Task task, bool urgent);
  void Work(unsigned worker);

  std::mutex lock;  // guards everything below
  std::condition_variable queued;
  std::deque<Task> tasks;
  unsigned idle = 0;  // workers waiting for a task: a post wakes one only when there is one
  bool stopping = false;
  std::vector<std::thread> threads;
};
