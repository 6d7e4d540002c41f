#include "chain/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace tarvo::chain {

unsigned WorkerPool::ThreadsFor(unsigned requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

WorkerPool::WorkerPool(unsigned threads) {
  const unsigned count = ThreadsFor(threads);
  workers_.reserve(count);
  for (unsigned i = 0; i < count; ++i) workers_.emplace_back([this] { Work(); });
}

WorkerPool::~WorkerPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::future<void> WorkerPool::Submit(std::function<void()> task) {
  std::packaged_task<void()> packaged(std::move(task));
  std::future<void> done = packaged.get_future();
  {
    const std::lock_guard lock(mutex_);
    queue_.push_back(std::move(packaged));
  }
  wake_.notify_one();
  return done;
}

void WorkerPool::Work() {
  while (true) {
    std::packaged_task<void()> task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      // Queued work is finished before the pool stops, so no future is left without an end.
      if (queue_.empty()) return;
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    task();
  }
}

void WorkerPool::ParallelFor(std::size_t count, const std::function<void(std::size_t)>& task) {
  if (count == 0) return;
  // Indices are taken one at a time from a shared counter by every helper and by the caller,
  // so uneven pieces balance themselves; the caller works too, so a pool whose workers are
  // all busy still makes progress.
  std::atomic<std::size_t> next{0};
  std::mutex failureMutex;
  std::exception_ptr failure;
  const auto run = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      try {
        task(i);
      } catch (...) {
        const std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
        next = count;  // the others stop at their next index
      }
    }
  };
  const std::size_t helpers = std::min<std::size_t>(size(), count - 1);
  std::vector<std::future<void>> done;
  done.reserve(helpers);
  for (std::size_t i = 0; i < helpers; ++i) done.push_back(Submit(run));
  run();
  for (std::future<void>& helper : done) helper.get();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tarvo::chain
