#include "view/AreaStretch.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace mv {

namespace {

using stretch::SourcePixels;
using stretch::Span;
using stretch::WeightAt;

// Fills `spans` with the source pixels behind view pixels [begin, end) of the axis.
AxisMap MapAxis(int64_t source, int64_t view, int64_t begin, int64_t end, std::vector<Span>& spans) {
  AxisMap map;
  spans.assign(static_cast<std::size_t>(end - begin), Span{});
  map.nearest = view >= source;
  if (map.nearest) {
    for (int64_t d = begin; d < end; ++d)
      spans[static_cast<std::size_t>(d - begin)].first = static_cast<int32_t>(d * source / view);
    return map;
  }
  // Overlaps in units of gcd / (source * view): a view pixel is source / gcd units long, a source
  // pixel view / gcd, so the weights and their total stay as small as the ratio allows.
  const int64_t divisor = std::gcd(source, view);
  const int64_t viewLength = source / divisor, pixelLength = view / divisor;
  map.total = static_cast<uint64_t>(viewLength);
  for (int64_t d = begin; d < end; ++d) {
    Span& span = spans[static_cast<std::size_t>(d - begin)];
    const int64_t from = d * viewLength, to = (d + 1) * viewLength;
    const int64_t firstPixel = from / pixelLength, lastPixel = (to - 1) / pixelLength;
    span.first = static_cast<int32_t>(firstPixel);
    span.count = static_cast<int32_t>(lastPixel - firstPixel + 1);
    span.innerWeight = static_cast<uint32_t>(pixelLength);
    if (span.count == 1) {
      span.firstWeight = span.lastWeight = static_cast<uint32_t>(to - from);
    } else {
      span.firstWeight = static_cast<uint32_t>((firstPixel + 1) * pixelLength - from);
      span.lastWeight = static_cast<uint32_t>(to - lastPixel * pixelLength);
    }
    map.maxCount = std::max(map.maxCount, span.count);
  }
  return map;
}

// Exact division of 32-bit numerators by a fixed divisor: a multiplication by ceil(2^64 / divisor)
// and a shift, exact for every numerator below 2^32.
class Divider32 {
 public:
  explicit Divider32(uint64_t divisor)
      : one_(divisor == 1), multiplier_(one_ ? 0 : ~uint64_t{0} / divisor + 1) {}
  uint32_t operator()(uint32_t numerator) const {
    if (one_) return numerator;
    return static_cast<uint32_t>((static_cast<unsigned __int128>(numerator) * multiplier_) >> 64);
  }

 private:
  bool one_;
  uint64_t multiplier_;
};

// Exact division of larger numerators: the double quotient (numerators stay far below 2^53, so it is
// off by at most one), corrected.
class Divider64 {
 public:
  explicit Divider64(uint64_t divisor) : divisor_(divisor), reciprocal_(1.0 / static_cast<double>(divisor)) {}
  uint64_t operator()(uint64_t numerator) const {
    uint64_t quotient = static_cast<uint64_t>(static_cast<double>(numerator) * reciprocal_);
    if (quotient * divisor_ > numerator) --quotient;
    if ((quotient + 1) * divisor_ <= numerator) ++quotient;
    return quotient;
  }

 private:
  uint64_t divisor_;
  double reciprocal_;
};

// Rows [rowBegin, rowEnd) of the area, both axes nearest; `offsets` holds each view column's source
// byte from the window's left edge. A view row showing the same source row as the one above is a copy of it;
// a row shown at its own width is one piece of the source row.
void NearestRows(const SourcePixels& source, const std::vector<int32_t>& offsets, const std::vector<Span>& ys,
                 int rowBegin, int rowEnd, Bitmap& out, Point at) {
  const std::size_t width = offsets.size();
  const bool identity =
      source.pixelBytes == 3 && offsets.back() - offsets.front() == static_cast<int32_t>(width - 1) * 3;
  const bool grey = source.pixelBytes == 1;
  int previousSource = -1;
  const uint8_t* previousOut = nullptr;
  for (int j = rowBegin; j < rowEnd; ++j) {
    const int sy = ys[static_cast<std::size_t>(j)].first;
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    if (sy == previousSource) {
      std::memcpy(dst, previousOut, width * 3);
    } else if (identity) {
      std::memcpy(dst, source.At(source.origin.x, sy) + offsets.front(), width * 3);
    } else {
      const uint8_t* src = source.At(source.origin.x, sy);
      uint8_t* pixel = dst;
      for (const int32_t offset : offsets) {
        const uint8_t* p = src + offset;
        pixel[0] = p[0];
        pixel[1] = grey ? p[0] : p[1];
        pixel[2] = grey ? p[0] : p[2];
        pixel += 3;
      }
    }
    previousSource = sy;
    previousOut = dst;
  }
}

// One channel of a view pixel from the column sums of its source rows: the horizontal weights applied
// to the sums at `p` (the channel's sum at the span's first source pixel; `step` elements apart per
// source pixel), rounded and divided.
template <typename Sum, typename Column, typename Divider>
uint8_t FinishChannel(const Column* p, int step, const Span& span, Sum half, const Divider& divide) {
  Sum sum = Sum{span.firstWeight} * p[0];
  if (span.count > 1) {
    Sum inner = 0;
    const Column* q = p + step;
    for (int32_t k = 1; k + 1 < span.count; ++k, q += step) inner += q[0];
    sum += inner * span.innerWeight + Sum{span.lastWeight} * q[0];
  }
  return static_cast<uint8_t>(divide(sum + half));
}

// A view pixel's three channels, or its one grey level three times.
template <typename Sum, typename Column, typename Divider>
void FinishPixel(const Column* p, int pixelBytes, const Span& span, Sum half, const Divider& divide,
                 uint8_t* dst) {
  if (pixelBytes == 1) {
    dst[0] = dst[1] = dst[2] = FinishChannel<Sum>(p, 1, span, half, divide);
    return;
  }
  for (int channel = 0; channel < 3; ++channel)
    dst[channel] = FinishChannel<Sum>(p + channel, pixelBytes, span, half, divide);
}

// Rows [rowBegin, rowEnd) of the area with at least one axis averaged, in plain code. For each view
// row the source rows under it are first summed with their vertical weights, byte by byte across the
// columns the area reads; then each view pixel weighs the column sums under it. `Column` holds the
// vertical weights' total times 255, `Sum` the total of all weights times 255.
template <typename Sum, typename Column, typename Divider>
void AveragedRows(const SourcePixels& source, const std::vector<Span>& xs, const std::vector<Span>& ys,
                  uint64_t divisor, int rowBegin, int rowEnd, Bitmap& out, Point at) {
  const int32_t firstColumn = xs.front().first;
  const int32_t endColumn = xs.back().first + xs.back().count;
  const int pixelBytes = source.pixelBytes;
  const std::size_t bytes = static_cast<std::size_t>(endColumn - firstColumn) * pixelBytes;
  std::vector<Column> columns(bytes);
  const Sum half = static_cast<Sum>(divisor / 2);
  const Divider divide(divisor);
  for (int j = rowBegin; j < rowEnd; ++j) {
    const Span& span = ys[static_cast<std::size_t>(j)];
    Column* sums = columns.data();
    const uint8_t* first = source.At(firstColumn, span.first);
    const auto firstWeight = static_cast<Column>(span.firstWeight);
    for (std::size_t b = 0; b < bytes; ++b) sums[b] = static_cast<Column>(firstWeight * first[b]);
    for (int32_t k = 1; k < span.count; ++k) {
      const uint8_t* row = source.At(firstColumn, span.first + k);
      const auto weight = static_cast<Column>(WeightAt(span, k));
      for (std::size_t b = 0; b < bytes; ++b) sums[b] = static_cast<Column>(sums[b] + weight * row[b]);
    }
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    for (const Span& column : xs) {
      FinishPixel<Sum, Column>(sums + static_cast<std::size_t>(column.first - firstColumn) * pixelBytes,
                               pixelBytes, column, half, divide, dst);
      dst += 3;
    }
  }
}

// AveragedRows with the narrowest sums the weights allow: 16-bit column sums are twice as fast.
void PlainAveragedRows(const SourcePixels& source, const std::vector<Span>& xs, const std::vector<Span>& ys,
                       uint64_t xTotal, uint64_t yTotal, int begin, int end, Bitmap& out, Point at) {
  const bool narrowColumns = yTotal * 255 < (uint64_t{1} << 16);
  const bool narrowSums = xTotal * yTotal < (uint64_t{1} << 24);
  const uint64_t divisor = xTotal * yTotal;
  if (narrowColumns && narrowSums) {
    AveragedRows<uint32_t, uint16_t, Divider32>(source, xs, ys, divisor, begin, end, out, at);
  } else if (narrowSums) {
    AveragedRows<uint32_t, uint32_t, Divider32>(source, xs, ys, divisor, begin, end, out, at);
  } else {
    AveragedRows<uint64_t, uint32_t, Divider64>(source, xs, ys, divisor, begin, end, out, at);
  }
}

// Makes `columns` long enough for the vector loops with zeros past the sums: every row overwrites the sums
// themselves, so only the tail is cleared (a caller running many short bands would otherwise clear the
// whole array for each).
template <typename Sum>
void PrepareColumnSums(std::vector<Sum>& columns, const stretch::ReductionTables& tables) {
  const std::size_t length = stretch::ColumnSumsLength(tables);
  if (columns.size() < length) columns.resize(length);
  std::fill(columns.begin() + static_cast<std::ptrdiff_t>(tables.rowBytes),
            columns.begin() + static_cast<std::ptrdiff_t>(length), Sum{0});
}

}  // namespace

AreaStretch::AreaStretch(const SourcePixels& source, Size sourceSize, Size view, const Rect& area,
                         StretchWorkspace& workspace, bool allowVector)
    : source_(source), workspace_(workspace) {
  xs_ = MapAxis(sourceSize.width, view.width, area.left, area.right, workspace.columnSpans);
  ys_ = MapAxis(sourceSize.height, view.height, area.top, area.bottom, workspace.rowSpans);
  const uint64_t divisor = xs_.total * ys_.total;
  if (allowVector && !Nearest() && stretch::HaveAvx2()) {
    if (ys_.total * 255 < (uint64_t{1} << 15) && xs_.total < (uint64_t{1} << 15) &&
        divisor * 255 < (uint64_t{1} << 31)) {
      loop_ = Loop::Narrow;
    } else if (divisor * 255 + divisor / 2 < (uint64_t{1} << 32)) {
      loop_ = Loop::Wide;
    }
  }
  if (Nearest()) {
    workspace.tapOffsets.resize(workspace.columnSpans.size());
    for (std::size_t i = 0; i < workspace.columnSpans.size(); ++i)
      workspace.tapOffsets[i] = (workspace.columnSpans[i].first - source.origin.x) * source.pixelBytes;
  } else if (loop_ != Loop::Plain) {
    BuildTables(area.Width());
  }
}

uint64_t AreaStretch::Work() const {
  const std::vector<Span>& xs = workspace_.columnSpans;
  const std::vector<Span>& ys = workspace_.rowSpans;
  return xs.size() * ys.size() * static_cast<uint64_t>(xs_.maxCount) * static_cast<uint64_t>(ys_.maxCount);
}

void AreaStretch::Rows(int begin, int end, Bitmap& out, Point at, StretchWorkspace& sums) const {
  Rows(begin, end, out, at, sums, source_);
}

void AreaStretch::Rows(int begin, int end, Bitmap& out, Point at, StretchWorkspace& sums,
                       const SourcePixels& source) const {
  const std::vector<Span>& xs = workspace_.columnSpans;
  const std::vector<Span>& ys = workspace_.rowSpans;
  if (Nearest()) {
    NearestRows(source, workspace_.tapOffsets, ys, begin, end, out, at);
  } else if (loop_ == Loop::Narrow) {
    PrepareColumnSums(sums.sums16, tables_);
    stretch::ReduceRowsNarrowAvx2(source, tables_, begin, end, sums.sums16.data(), out, at);
  } else if (loop_ == Loop::Wide) {
    PrepareColumnSums(sums.sums32, tables_);
    stretch::ReduceRowsWideAvx2(source, tables_, begin, end, sums.sums32.data(), out, at);
  } else {
    PlainAveragedRows(source, xs, ys, xs_.total, ys_.total, begin, end, out, at);
  }
}

std::pair<int32_t, int32_t> AreaStretch::SourceRows(int begin, int end) const {
  const std::vector<Span>& ys = workspace_.rowSpans;
  const Span& last = ys[static_cast<std::size_t>(end - 1)];
  return {ys[static_cast<std::size_t>(begin)].first, last.first + last.count};
}

void AreaStretch::BuildTables(int width) {
  const std::vector<Span>& xs = workspace_.columnSpans;
  const int pixelBytes = source_.pixelBytes;
  const int32_t firstColumn = xs.front().first;
  const int32_t endColumn = xs.back().first + xs.back().count;
  const int group = pixelBytes == 1 ? 8 : 4;
  const int padded = (width + group - 1) / group * group;
  tables_.taps = loop_ == Loop::Narrow ? (xs_.maxCount + 1) / 2 * 2 : xs_.maxCount;
  workspace_.tapOffsets.assign(static_cast<std::size_t>(padded), 0);
  for (int i = 0; i < width; ++i) {
    workspace_.tapOffsets[static_cast<std::size_t>(i)] =
        (xs[static_cast<std::size_t>(i)].first - firstColumn) * pixelBytes;
  }
  if (loop_ == Loop::Narrow && pixelBytes == 1) {
    BuildGreyPairWeights(width, padded);
  } else if (loop_ == Loop::Narrow) {
    BuildPairWeights(width, padded);
  } else if (pixelBytes == 1) {
    BuildGreyTapWeights(width, padded);
  } else {
    BuildTapWeights(width, padded);
  }
  tables_.rows = workspace_.rowSpans.data();
  tables_.firstColumn = firstColumn;
  tables_.rowBytes = static_cast<std::size_t>(endColumn - firstColumn) * pixelBytes;
  tables_.tapOffsets = workspace_.tapOffsets.data();
  tables_.width = width;
  tables_.divisor = xs_.total * ys_.total;
  tables_.pixelBytes = pixelBytes;
  tables_.pairedColumnSums = ys_.total < (uint64_t{1} << 15) && ys_.maxCount <= 130;
}

void AreaStretch::BuildTapWeights(int width, int padded) {
  const std::size_t groupStride = static_cast<std::size_t>(tables_.taps) * 8;
  workspace_.tapWeights.assign(static_cast<std::size_t>(padded / 2) * groupStride, 0);
  for (int i = 0; i < width; ++i) {
    const Span& span = workspace_.columnSpans[static_cast<std::size_t>(i)];
    uint32_t* weights =
        workspace_.tapWeights.data() + static_cast<std::size_t>(i / 2) * groupStride + (i % 2) * 4;
    for (int32_t k = 0; k < span.count; ++k) std::fill_n(weights + 8 * k, 4, WeightAt(span, k));
  }
  tables_.tapWeights = workspace_.tapWeights.data();
}

void AreaStretch::BuildPairWeights(int width, int padded) {
  const std::size_t groupStride = static_cast<std::size_t>(tables_.taps / 2) * 16;
  workspace_.pairWeights.assign(static_cast<std::size_t>(padded / 2) * groupStride, 0);
  for (int i = 0; i < width; ++i) {
    const Span& span = workspace_.columnSpans[static_cast<std::size_t>(i)];
    int16_t* weights =
        workspace_.pairWeights.data() + static_cast<std::size_t>(i / 2) * groupStride + (i % 2) * 8;
    for (int32_t k = 0; k < span.count; ++k) {
      int16_t* pair = weights + 16 * (k / 2) + k % 2;
      for (int channel = 0; channel < 3; ++channel)
        pair[2 * channel] = static_cast<int16_t>(WeightAt(span, k));
    }
  }
  tables_.pairWeights = workspace_.pairWeights.data();
}

void AreaStretch::BuildGreyTapWeights(int width, int padded) {
  const std::size_t groupStride = static_cast<std::size_t>(tables_.taps) * 8;
  workspace_.tapWeights.assign(static_cast<std::size_t>(padded / 8) * groupStride, 0);
  for (int i = 0; i < width; ++i) {
    const Span& span = workspace_.columnSpans[static_cast<std::size_t>(i)];
    uint32_t* weights = workspace_.tapWeights.data() + static_cast<std::size_t>(i / 8) * groupStride + i % 8;
    for (int32_t k = 0; k < span.count; ++k) weights[8 * k] = WeightAt(span, k);
  }
  tables_.tapWeights = workspace_.tapWeights.data();
}

void AreaStretch::BuildGreyPairWeights(int width, int padded) {
  const std::size_t groupStride = static_cast<std::size_t>(tables_.taps) * 8;
  workspace_.pairWeights.assign(static_cast<std::size_t>(padded / 8) * groupStride, 0);
  for (int i = 0; i < width; ++i) {
    const Span& span = workspace_.columnSpans[static_cast<std::size_t>(i)];
    int16_t* weights =
        workspace_.pairWeights.data() + static_cast<std::size_t>(i / 8) * groupStride + (i % 8) * 2;
    for (int32_t k = 0; k < span.count; ++k)
      weights[16 * (k / 2) + k % 2] = static_cast<int16_t>(WeightAt(span, k));
  }
  tables_.pairWeights = workspace_.pairWeights.data();
}

}  // namespace mv
