#pragma once
// One area's stretch, prepared once and run over row ranges, possibly on several threads, or band by
// band from windows of the source that a caller fills as it goes. An averaged area goes to the narrow
// vector loop when its sums fit in 16 and 31 bits, to the wide one when they fit in 32 bits; the rest,
// and everything without AVX2, runs in plain code.

#include <cstdint>
#include <utility>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "view/Stretch.h"
#include "view/StretchTables.h"

namespace mv {

// The view pixels of one axis as the stretch sees them.
struct AxisMap {
  uint64_t total = 1;  // the weights' total of every view pixel
  bool nearest = true;
  int32_t maxCount = 1;  // source pixels behind the widest view pixel
};

class AreaStretch {
 public:
  // The stretch of view pixels `area` of a `sourceSize` picture shown at `view`, reading `source`; its
  // tables are kept in `workspace`, which must outlive it and not be used for another stretch meanwhile.
  AreaStretch(const stretch::SourcePixels& source, Size sourceSize, Size view, const Rect& area,
              StretchWorkspace& workspace, bool allowVector);

  bool Nearest() const { return xs_.nearest && ys_.nearest; }

  // Source pixels read: threads pay off from about a million.
  uint64_t Work() const;

  // Rows [begin, end) of the area into `out` with the area's top-left at `at`; `sums` is this thread's
  // workspace for the column sums.
  void Rows(int begin, int end, Bitmap& out, Point at, StretchWorkspace& sums) const;
  // The same from `window`, a window of the source holding the source pixels from `origin` on, at least
  // all those the rows read; its pixels and its origin's x are those the stretch was prepared with.
  void Rows(int begin, int end, Bitmap& out, Point at, StretchWorkspace& sums,
            const stretch::SourcePixels& window) const;

  // The source rows [first, end) view rows [begin, end) of the area read.
  std::pair<int32_t, int32_t> SourceRows(int begin, int end) const;

 private:
  enum class Loop { Plain, Narrow, Wide };

  void BuildTables(int width);
  void BuildTapWeights(int width, int padded);
  void BuildPairWeights(int width, int padded);
  void BuildGreyTapWeights(int width, int padded);
  void BuildGreyPairWeights(int width, int padded);

  stretch::SourcePixels source_;
  StretchWorkspace& workspace_;
  AxisMap xs_, ys_;
  Loop loop_ = Loop::Plain;
  stretch::ReductionTables tables_;
};

}  // namespace mv
