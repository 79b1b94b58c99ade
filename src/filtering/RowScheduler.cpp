#include "filtering/RowScheduler.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <vector>

#include "platform/Parallel.h"

namespace mv {

namespace {

bool Before(const RowHooks& hooks) {
  return !hooks.beforeRow || hooks.beforeRow();
}
void After(const RowHooks& hooks) {
  if (hooks.afterRow) hooks.afterRow();
}

RowRunResult RunSerially(int rows, const RowProducer& producer, const RowHooks& hooks) {
  if (rows <= 0) return RowRunResult::Completed;
  if (!Before(hooks)) return RowRunResult::Cancelled;
  bool cancelled = false;
  producer(0, rows, [&](int row) {
    After(hooks);
    if (row + 1 < rows && !Before(hooks)) {
      cancelled = true;
      return false;
    }
    return true;
  });
  return cancelled ? RowRunResult::Cancelled : RowRunResult::Completed;
}

// What the workers and the calling thread share.
class Bands {
 public:
  Bands(int rows, int count)
      : done_(static_cast<std::size_t>(rows), 0), bands_(static_cast<std::size_t>(count)) {
    for (int b = 0; b < count; ++b) {
      Band& band = bands_[static_cast<std::size_t>(b)];
      const RowBand rowsOfBand = mv::BandOf(rows, count, b);
      band.begin = band.next = rowsOfBand.begin;
      band.end = rowsOfBand.end;
    }
  }

  int Count() const { return static_cast<int>(bands_.size()); }
  int Begin(int band) const { return bands_[static_cast<std::size_t>(band)].begin; }
  int End(int band) const { return bands_[static_cast<std::size_t>(band)].end; }
  bool Stopping() const { return stop_.load(std::memory_order_relaxed); }
  void Stop() { stop_ = true; }

  void RowDone(int band, int row) {
    {
      const std::lock_guard lock(mutex_);
      done_[static_cast<std::size_t>(row)] = 1;
      bands_[static_cast<std::size_t>(band)].next = row + 1;
    }
    changed_.notify_all();
  }

  void Failed(int band, std::exception_ptr error) {
    {
      const std::lock_guard lock(mutex_);
      bands_[static_cast<std::size_t>(band)].failure = std::move(error);
    }
    changed_.notify_all();
  }

  // Waits until `row` is done; rethrows when its band failed on that row.
  void WaitFor(int row) {
    std::unique_lock lock(mutex_);
    const Band& band = BandOf(row);
    changed_.wait(lock, [&] {
      return done_[static_cast<std::size_t>(row)] != 0 || (band.failure && band.next == row);
    });
    if (done_[static_cast<std::size_t>(row)] == 0) std::rethrow_exception(band.failure);
  }

 private:
  struct Band {
    int begin = 0, end = 0, next = 0;
    std::exception_ptr failure;
  };
  const Band& BandOf(int row) const {
    for (const Band& band : bands_) {
      if (row < band.end) return band;
    }
    return bands_.back();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<char> done_;
  std::vector<Band> bands_;
  std::atomic<bool> stop_{false};
};

// Stops and joins the workers on every way out.
class Workers {
 public:
  explicit Workers(Bands& bands) : bands_(bands) {}
  ~Workers() { Stop(); }
  // Starts a worker for every band; false when the system could not start them all.
  bool Start(const RowProducer& producer) {
    for (int b = 0; b < bands_.Count(); ++b) {
      const bool started = threads_.TryStart([this, b, &producer] {
        try {
          producer(bands_.Begin(b), bands_.End(b), [this, b](int row) {
            bands_.RowDone(b, row);
            return !bands_.Stopping();
          });
        } catch (...) {
          bands_.Failed(b, std::current_exception());
        }
      });
      if (!started) return false;
    }
    return true;
  }
  // Asks the workers to stop after their current row and waits for them.
  void Stop() {
    bands_.Stop();
    threads_.JoinAll();
  }

 private:
  Bands& bands_;
  ThreadGroup threads_;
};

// Without hooks nothing needs the rows in order: the bands are computed side by side and the
// earliest band's failure is rethrown, the one a serial run would have met first.
RowRunResult RunWithoutHooks(int rows, int threads, const RowProducer& producer) {
  RunRowBands(rows, threads,
              [&](int begin, int end, std::size_t) { producer(begin, end, [](int) { return true; }); });
  return RowRunResult::Completed;
}

}  // namespace

RowRunResult RunRows(int rows, int threads, const RowProducer& producer, const RowHooks& hooks) {
  threads = std::min(threads, rows);
  if (threads <= 1) return RunSerially(rows, producer, hooks);
  if (!hooks.beforeRow && !hooks.afterRow) return RunWithoutHooks(rows, threads, producer);
  Bands bands(rows, threads);
  Workers workers(bands);
  if (!workers.Start(producer)) {
    // Fewer threads than bands could start: the rows are computed again on this thread alone (no
    // hook has run yet, and every row is written whole, so nothing of the partial run remains).
    workers.Stop();
    return RunSerially(rows, producer, hooks);
  }
  for (int row = 0; row < rows; ++row) {
    if (!Before(hooks)) return RowRunResult::Cancelled;
    bands.WaitFor(row);
    After(hooks);
  }
  return RowRunResult::Completed;
}

}  // namespace mv
