#pragma once
// Runs the rows of a pass, on the calling thread or on worker threads over contiguous bands, while
// the calling thread keeps the per-row protocol (a check before each row, a step after it) in row
// order. A failure surfaces at the row where it happened, as it would in a serial run.

#include <functional>

namespace mv {

// Produces the rows [begin, end) in order and calls rowDone(row) after each; stops early when
// rowDone answers false.
using RowProducer = std::function<void(int begin, int end, const std::function<bool(int)>& rowDone)>;

struct RowHooks {
  std::function<bool()> beforeRow;  // false cancels the run before that row (may be empty)
  std::function<void()> afterRow;   // may be empty
};

enum class RowRunResult { Completed, Cancelled };

// threads <= 1 runs the producer on the calling thread. Otherwise each worker takes one band; rows
// may be computed ahead of the hooks, but the hooks run on the calling thread for rows 0, 1, 2, ...
// and a cancel stops the workers before the result is used. A producer's exception is rethrown
// when the hooks reach the row it failed on.
RowRunResult RunRows(int rows, int threads, const RowProducer& producer, const RowHooks& hooks);

}  // namespace mv
