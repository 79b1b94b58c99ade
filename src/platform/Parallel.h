#pragma once
// Work spread over threads: tasks handed out in order to the calling thread and up to `threads` - 1
// helpers, with what goes wrong on a helper brought back to the caller.
//
// - A result must not depend on which thread ran a task, nor on how many threads there were.
// - A thread the system cannot start (out of memory, a process limit) is not an error: the threads
//   that did start, the calling one at least, do its share.
// - When tasks throw, no further tasks are started; once every thread has stopped, the exception of
//   the lowest-numbered failed task is rethrown on the calling thread: the one a serial run would
//   have met first, since every lower task was handed out before it.

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace mv {

// The threads parallel work uses unless told otherwise: the processors, 1 to 8.
int ParallelThreads();

// Runs work(task, worker) once for every task in [0, count). `worker` is below
// min(count, threads) and tells the threads apart, so each can keep scratch memory of its own.
void ParallelFor(std::size_t count, int threads,
                 const std::function<void(std::size_t task, std::size_t worker)>& work);

// Rows [0, rows) cut into `bands` contiguous bands of nearly equal height.
struct RowBand {
  int begin = 0;
  int end = 0;
};
RowBand BandOf(int rows, int bands, int band);

// Runs work(begin, end, worker) over min(rows, threads) row bands, as ParallelFor does.
void RunRowBands(int rows, int threads,
                 const std::function<void(int begin, int end, std::size_t worker)>& work);

// Threads started for one piece of work, all joined when the group ends, on every path.
class ThreadGroup {
 public:
  ThreadGroup() = default;
  ~ThreadGroup() { JoinAll(); }
  ThreadGroup(const ThreadGroup&) = delete;
  ThreadGroup& operator=(const ThreadGroup&) = delete;

  // Starts a thread running `body`; false, and nothing started, when the system cannot start one.
  bool TryStart(std::function<void()> body);
  void JoinAll();
  std::size_t Size() const { return threads_.size(); }

 private:
  std::vector<std::thread> threads_;
};

}  // namespace mv
