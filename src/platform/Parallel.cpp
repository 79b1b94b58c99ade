#include "platform/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>

namespace mv {

int ParallelThreads() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

bool ThreadGroup::TryStart(std::function<void()> body) {
  try {
    threads_.reserve(threads_.size() + 1);
    threads_.emplace_back(std::move(body));
    return true;
  } catch (const std::system_error&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void ThreadGroup::JoinAll() {
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  threads_.clear();
}

namespace {

// The tasks still to hand out and the failures met so far.
class TaskQueue {
 public:
  explicit TaskQueue(std::size_t count) : count_(count) {}

  // The next task, or false when none is left or a task has failed.
  bool Next(std::size_t& task) {
    if (failed_.load(std::memory_order_relaxed)) return false;
    task = next_.fetch_add(1, std::memory_order_relaxed);
    return task < count_;
  }

  void Failed(std::size_t task, std::exception_ptr error) {
    const std::lock_guard lock(mutex_);
    if (!failure_ || task < failedTask_) {
      failure_ = std::move(error);
      failedTask_ = task;
    }
    failed_ = true;
  }

  void RethrowFirstFailure() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  const std::size_t count_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::exception_ptr failure_;
  std::size_t failedTask_ = 0;
};

void RunTasks(TaskQueue& queue, std::size_t worker,
              const std::function<void(std::size_t, std::size_t)>& work) {
  std::size_t task = 0;
  while (queue.Next(task)) {
    try {
      work(task, worker);
    } catch (...) {
      queue.Failed(task, std::current_exception());
    }
  }
}

}  // namespace

void ParallelFor(std::size_t count, int threads,
                 const std::function<void(std::size_t task, std::size_t worker)>& work) {
  if (count == 0) return;
  const std::size_t workers = std::min<std::size_t>(count, static_cast<std::size_t>(std::max(threads, 1)));
  TaskQueue queue(count);
  {
    ThreadGroup helpers;
    for (std::size_t worker = 1; worker < workers; ++worker) {
      if (!helpers.TryStart([&queue, &work, worker] { RunTasks(queue, worker, work); })) break;
    }
    RunTasks(queue, 0, work);
  }
  queue.RethrowFirstFailure();
}

RowBand BandOf(int rows, int bands, int band) {
  return {static_cast<int>(int64_t{rows} * band / bands),
          static_cast<int>(int64_t{rows} * (band + 1) / bands)};
}

void RunRowBands(int rows, int threads,
                 const std::function<void(int begin, int end, std::size_t worker)>& work) {
  if (rows <= 0) return;
  const int bands = std::clamp(threads, 1, rows);
  ParallelFor(static_cast<std::size_t>(bands), bands, [&](std::size_t band, std::size_t worker) {
    const RowBand rowsOfBand = BandOf(rows, bands, static_cast<int>(band));
    work(rowsOfBand.begin, rowsOfBand.end, worker);
  });
}

}  // namespace mv
