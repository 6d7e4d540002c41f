#include "chain/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace tarvo::chain {
namespace {

// Every index runs exactly once, whatever the number of threads and of pieces.
TEST(WorkerPool, ParallelForRunsEveryIndexOnce) {
  struct Case {
    unsigned threads;
    std::size_t count;
  };
  for (const Case c : {Case{1, 0}, Case{1, 1}, Case{1, 1000}, Case{2, 1}, Case{2, 3},
                       Case{4, 10000}, Case{8, 7}}) {
    WorkerPool pool(c.threads);
    std::vector<std::atomic<int>> runs(c.count);
    pool.ParallelFor(c.count, [&runs](std::size_t i) { ++runs[i]; });
    for (std::size_t i = 0; i < c.count; ++i) {
      ASSERT_EQ(runs[i].load(), 1) << "index " << i << " of " << c.count << ", " << c.threads
                                   << " threads";
    }
  }
}

// The first failure comes out in the caller, after every task that started has ended, and
// the pool stays usable.
TEST(WorkerPool, AFailureIsRethrownInTheCallerAndThePoolGoesOn) {
  WorkerPool pool(3);
  std::atomic<int> running{0};
  EXPECT_THROW(pool.ParallelFor(1000,
                                [&running](std::size_t i) {
                                  ++running;
                                  if (i == 17) {
                                    --running;
                                    throw std::runtime_error("record 17");
                                  }
                                  --running;
                                }),
               std::runtime_error);
  EXPECT_EQ(running.load(), 0);
  std::atomic<std::size_t> sum{0};
  pool.ParallelFor(100, [&sum](std::size_t i) { sum += i; });
  EXPECT_EQ(sum.load(), 4950u);
}

// Submitted tasks end in any order; their futures say when, and carry their exceptions.
TEST(WorkerPool, SubmittedTasksReportTheirEnd) {
  WorkerPool pool(2);
  std::vector<std::future<void>> done;
  std::vector<int> values(50, 0);
  for (int i = 0; i < 50; ++i) done.push_back(pool.Submit([&values, i] { values[i] = i * i; }));
  for (std::future<void>& d : done) d.get();
  for (int i = 0; i < 50; ++i) EXPECT_EQ(values[i], i * i);
  std::future<void> failing = pool.Submit([] { throw std::logic_error("block"); });
  EXPECT_THROW(failing.get(), std::logic_error);
}

}  // namespace
}  // namespace tarvo::chain
