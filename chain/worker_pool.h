// A fixed set of worker threads for work that splits into independent pieces: the blocks of
// a batch conversion, the slices of an array of points.
//
// The pool starts its threads once and keeps them until it is destroyed. Work is handed out
// in two ways:
//   - Submit(task) queues one task and returns a future for its end (its exception, if it
//     threw, comes out of the future's get());
//   - ParallelFor(count, task) runs task(0) to task(count - 1) spread over the workers and
//     the calling thread, and returns when every one has ended; the first exception thrown
//     is rethrown in the caller once all have ended.
// Tasks must not wait for other tasks of the same pool (a pool of one thread would never
// run them). The pool holds no state of the work: whatever a task changes is the task's.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace tarvo::chain {

class WorkerPool {
 public:
  // `threads` workers; 0 means one per hardware thread (std::thread::hardware_concurrency,
  // at least 1).
  explicit WorkerPool(unsigned threads = 0);
  ~WorkerPool();

  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // The number of worker threads.
  unsigned size() const { return static_cast<unsigned>(workers_.size()); }

  std::future<void> Submit(std::function<void()> task);

  void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& task);

  // The number of threads `requested` means: itself when above 0, otherwise one per
  // hardware thread.
  static unsigned ThreadsFor(unsigned requested);

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<void()>> queue_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tarvo::chain
