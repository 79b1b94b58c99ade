#include "shell/Stretch.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

namespace mv {

namespace {

// The source pixels behind one view pixel along an axis: `count` pixels from `first`, weighted
// firstWeight, then innerWeight each, then lastWeight; the weights add up to `total`.
struct Span {
  int32_t first = 0;
  int32_t count = 1;
  uint32_t firstWeight = 1;
  uint32_t innerWeight = 1;
  uint32_t lastWeight = 1;
};

struct AxisMap {
  std::vector<Span> spans;  // one per view pixel of the area
  uint64_t total = 1;
  bool nearest = true;
};

AxisMap MapAxis(int64_t source, int64_t view, int64_t begin, int64_t end) {
  AxisMap map;
  map.spans.resize(static_cast<std::size_t>(end - begin));
  map.nearest = view >= source;
  if (map.nearest) {
    for (int64_t d = begin; d < end; ++d)
      map.spans[static_cast<std::size_t>(d - begin)].first = static_cast<int32_t>(d * source / view);
    return map;
  }
  // Overlaps in units of gcd / (source * view): a view pixel is source / gcd units long, a source
  // pixel view / gcd, so the weights and their total stay as small as the ratio allows.
  const int64_t divisor = std::gcd(source, view);
  const int64_t viewLength = source / divisor, pixelLength = view / divisor;
  map.total = static_cast<uint64_t>(viewLength);
  for (int64_t d = begin; d < end; ++d) {
    Span& span = map.spans[static_cast<std::size_t>(d - begin)];
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

uint32_t WeightAt(const Span& span, int32_t k) {
  if (k == 0) return span.firstWeight;
  if (k == span.count - 1) return span.lastWeight;
  return span.innerWeight;
}

// Rows [rowBegin, rowEnd) of the area, both axes nearest. A view row showing the same source row as
// the one above is a copy of it.
void NearestRows(const Bitmap& source, const AxisMap& xs, const AxisMap& ys, int rowBegin, int rowEnd,
                 Bitmap& out, Point at) {
  const std::size_t width = xs.spans.size();
  std::vector<uint32_t> offsets(width);
  for (std::size_t i = 0; i < width; ++i) offsets[i] = static_cast<uint32_t>(xs.spans[i].first) * 3;
  // Shown at its own width, a row is one piece of the source row.
  const bool identity = width > 0 && offsets.back() == offsets.front() + (width - 1) * 3;
  int previousSource = -1;
  const uint8_t* previousOut = nullptr;
  for (int j = rowBegin; j < rowEnd; ++j) {
    const int sy = ys.spans[static_cast<std::size_t>(j)].first;
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    if (sy == previousSource) {
      std::memcpy(dst, previousOut, width * 3);
    } else if (identity) {
      std::memcpy(dst, source.Row(sy) + offsets[0], width * 3);
    } else {
      const uint8_t* src = source.Row(sy);
      for (std::size_t i = 0; i < width; ++i, dst += 3) {
        const uint8_t* p = src + offsets[i];
        dst[0] = p[0];
        dst[1] = p[1];
        dst[2] = p[2];
      }
      dst -= width * 3;
    }
    previousSource = sy;
    previousOut = dst;
  }
}

// One view pixel from the column sums of its source rows: the horizontal weights applied to the
// channel sums at `p` (the span's first source pixel), rounded and divided.
template <typename Sum, typename Column, typename Divider>
void FinishPixel(const Column* p, const Span& span, Sum half, const Divider& divide, uint8_t* dst) {
  Sum b = Sum{span.firstWeight} * p[0], g = Sum{span.firstWeight} * p[1], r = Sum{span.firstWeight} * p[2];
  if (span.count > 1) {
    Sum ib = 0, ig = 0, ir = 0;
    const Column* q = p + 3;
    for (int32_t k = 1; k + 1 < span.count; ++k, q += 3) {
      ib += q[0];
      ig += q[1];
      ir += q[2];
    }
    b += ib * span.innerWeight + Sum{span.lastWeight} * q[0];
    g += ig * span.innerWeight + Sum{span.lastWeight} * q[1];
    r += ir * span.innerWeight + Sum{span.lastWeight} * q[2];
  }
  dst[0] = static_cast<uint8_t>(divide(b + half));
  dst[1] = static_cast<uint8_t>(divide(g + half));
  dst[2] = static_cast<uint8_t>(divide(r + half));
}

// Rows [rowBegin, rowEnd) of the area with at least one axis averaged. For each view row the source
// rows under it are first summed with their vertical weights, byte by byte across the columns the
// area reads (a loop the compiler vectorises); then each view pixel weighs the column sums under it.
// `Column` holds the vertical weights' total times 255, `Sum` the total of all weights times 255.
template <typename Sum, typename Column, typename Divider>
void AveragedRows(const Bitmap& source, const AxisMap& xs, const AxisMap& ys, int rowBegin, int rowEnd,
                  Bitmap& out, Point at) {
  const int32_t firstColumn = xs.spans.front().first;
  const int32_t endColumn = xs.spans.back().first + xs.spans.back().count;
  const std::size_t bytes = static_cast<std::size_t>(endColumn - firstColumn) * 3;
  std::vector<Column> columns(bytes);
  const uint64_t divisor = xs.total * ys.total;
  const Sum half = static_cast<Sum>(divisor / 2);
  const Divider divide(divisor);
  for (int j = rowBegin; j < rowEnd; ++j) {
    const Span& span = ys.spans[static_cast<std::size_t>(j)];
    Column* sums = columns.data();
    const uint8_t* first = source.Row(span.first) + static_cast<std::size_t>(firstColumn) * 3;
    const auto firstWeight = static_cast<Column>(span.firstWeight);
    for (std::size_t b = 0; b < bytes; ++b) sums[b] = static_cast<Column>(firstWeight * first[b]);
    for (int32_t k = 1; k < span.count; ++k) {
      const uint8_t* row = source.Row(span.first + k) + static_cast<std::size_t>(firstColumn) * 3;
      const auto weight = static_cast<Column>(WeightAt(span, k));
      for (std::size_t b = 0; b < bytes; ++b) sums[b] = static_cast<Column>(sums[b] + weight * row[b]);
    }
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    for (const Span& column : xs.spans) {
      FinishPixel<Sum, Column>(sums + static_cast<std::size_t>(column.first - firstColumn) * 3, column, half,
                               divide, dst);
      dst += 3;
    }
  }
}

// AveragedRows with the narrowest sums the weights allow: 16-bit column sums are twice as fast.
void AveragedRowsFor(const Bitmap& source, const AxisMap& xs, const AxisMap& ys, int begin, int end,
                     Bitmap& out, Point at) {
  const bool narrowColumns = ys.total * 255 < (uint64_t{1} << 16);
  const bool narrowSums = xs.total * ys.total < (uint64_t{1} << 24);
  if (narrowColumns && narrowSums) {
    AveragedRows<uint32_t, uint16_t, Divider32>(source, xs, ys, begin, end, out, at);
  } else if (narrowSums) {
    AveragedRows<uint32_t, uint32_t, Divider32>(source, xs, ys, begin, end, out, at);
  } else {
    AveragedRows<uint64_t, uint32_t, Divider64>(source, xs, ys, begin, end, out, at);
  }
}

}  // namespace

void StretchRegion(const Bitmap& source, Size view, const Rect& area, Bitmap& out, Point at,
                   bool allowThreads) {
  if (source.Format() != PixelFormat::Bgr24 || out.Format() != PixelFormat::Bgr24) {
    throw std::logic_error("stretching works on 24-bit bitmaps");
  }
  if (area.Width() <= 0 || area.Height() <= 0 || source.IsEmpty()) return;
  const AxisMap xs = MapAxis(source.Width(), view.width, area.left, area.right);
  const AxisMap ys = MapAxis(source.Height(), view.height, area.top, area.bottom);
  const auto rows = [&](int begin, int end) {
    if (xs.nearest && ys.nearest) {
      NearestRows(source, xs, ys, begin, end, out, at);
    } else {
      AveragedRowsFor(source, xs, ys, begin, end, out, at);
    }
  };
  // Source pixels read: threads pay off from about a million.
  const uint64_t work = static_cast<uint64_t>(area.Width()) * static_cast<uint64_t>(area.Height()) *
                        (xs.nearest ? 1 : static_cast<uint64_t>(source.Width()) / view.width + 1) *
                        (ys.nearest ? 1 : static_cast<uint64_t>(source.Height()) / view.height + 1);
  const int height = area.Height();
  const int threads = !allowThreads || work < (1u << 20)
                          ? 1
                          : std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
  if (threads == 1) {
    rows(0, height);
    return;
  }
  std::vector<std::thread> workers;
  for (int t = 1; t < threads; ++t) {
    workers.emplace_back(rows, height * t / threads, height * (t + 1) / threads);
  }
  rows(0, height / threads);
  for (std::thread& worker : workers) worker.join();
}

}  // namespace mv
