#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace mv {
namespace {

TEST(ParallelFor, RunsEveryTaskOnceWithWorkerNumbersBelowTheThreadCount) {
  for (const int threads : {1, 2, 3, 8}) {
    std::vector<std::atomic<int>> runs(37);
    std::atomic<std::size_t> highestWorker{0};
    ParallelFor(runs.size(), threads, [&](std::size_t task, std::size_t worker) {
      ++runs[task];
      std::size_t seen = highestWorker.load();
      while (worker > seen && !highestWorker.compare_exchange_weak(seen, worker)) {
      }
    });
    for (const auto& count : runs) EXPECT_EQ(count.load(), 1) << threads << " threads";
    EXPECT_LT(highestWorker.load(), static_cast<std::size_t>(threads));
  }
}

TEST(ParallelFor, RethrowsTheLowestFailedTaskOnTheCallingThreadAfterAllStopped) {
  for (const int threads : {1, 2, 4}) {
    std::atomic<int> running{0};
    try {
      ParallelFor(64, threads, [&](std::size_t task, std::size_t) {
        ++running;
        if (task == 9 || task == 40) throw std::runtime_error("task " + std::to_string(task));
        --running;
      });
      FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "task 9") << threads << " threads";
    }
    // The two failed tasks never counted down; every other task that started has finished.
    EXPECT_LE(running.load(), 2);
  }
}

TEST(RunRowBands, CoversEveryRowOnceInContiguousBandsWhateverTheThreadCount) {
  for (const int rows : {1, 2, 7, 100}) {
    for (const int threads : {1, 2, 3, 16}) {
      std::vector<std::atomic<int>> covered(static_cast<std::size_t>(rows));
      RunRowBands(rows, threads, [&](int begin, int end, std::size_t) {
        EXPECT_LT(begin, end);
        for (int row = begin; row < end; ++row) ++covered[static_cast<std::size_t>(row)];
      });
      for (const auto& count : covered) EXPECT_EQ(count.load(), 1) << rows << " rows, " << threads;
    }
  }
  RunRowBands(0, 4, [](int, int, std::size_t) { FAIL() << "no rows, no work"; });
}

TEST(ThreadGroup, JoinsItsThreadsWhenItEnds) {
  std::atomic<int> finished{0};
  {
    ThreadGroup group;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(group.TryStart([&finished] { ++finished; }));
    EXPECT_EQ(group.Size(), 3u);
  }
  EXPECT_EQ(finished.load(), 3);
}

}  // namespace
}  // namespace mv
