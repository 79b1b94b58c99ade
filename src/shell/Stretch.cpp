#include "shell/Stretch.h"

#include <algorithm>
#include <cstring>
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
  map.total = map.nearest ? 1 : static_cast<uint64_t>(source);
  for (int64_t d = begin; d < end; ++d) {
    Span& span = map.spans[static_cast<std::size_t>(d - begin)];
    if (map.nearest) {
      span.first = static_cast<int32_t>(d * source / view);
      continue;
    }
    const int64_t from = d * source, to = (d + 1) * source;  // in units where a source pixel is `view`
    const int64_t firstPixel = from / view, lastPixel = (to - 1) / view;
    span.first = static_cast<int32_t>(firstPixel);
    span.count = static_cast<int32_t>(lastPixel - firstPixel + 1);
    span.innerWeight = static_cast<uint32_t>(view);
    if (span.count == 1) {
      span.firstWeight = span.lastWeight = static_cast<uint32_t>(to - from);
    } else {
      span.firstWeight = static_cast<uint32_t>((firstPixel + 1) * view - from);
      span.lastWeight = static_cast<uint32_t>(to - lastPixel * view);
    }
  }
  return map;
}

uint32_t WeightAt(const Span& span, int32_t k) {
  if (k == 0) return span.firstWeight;
  if (k == span.count - 1) return span.lastWeight;
  return span.innerWeight;
}

// Rows [rowBegin, rowEnd) of the area, both axes nearest.
void NearestRows(const Bitmap& source, const AxisMap& xs, const AxisMap& ys, int rowBegin, int rowEnd,
                 Bitmap& out, Point at) {
  const std::size_t width = xs.spans.size();
  int previousSource = -1;
  const uint8_t* previousOut = nullptr;
  for (int j = rowBegin; j < rowEnd; ++j) {
    const int sy = ys.spans[static_cast<std::size_t>(j)].first;
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    if (sy == previousSource) {
      std::memcpy(dst, previousOut, width * 3);
    } else {
      const uint8_t* src = source.Row(sy);
      for (std::size_t i = 0; i < width; ++i) {
        const uint8_t* p = src + static_cast<std::size_t>(xs.spans[i].first) * 3;
        dst[i * 3] = p[0];
        dst[i * 3 + 1] = p[1];
        dst[i * 3 + 2] = p[2];
      }
    }
    previousSource = sy;
    previousOut = dst;
  }
}

// The weighted horizontal sums of one source row for every view column of the area.
void SumRow(const uint8_t* src, const AxisMap& xs, uint32_t* sums) {
  for (const Span& span : xs.spans) {
    const uint8_t* p = src + static_cast<std::size_t>(span.first) * 3;
    if (span.count == 1) {
      sums[0] = span.firstWeight * p[0];
      sums[1] = span.firstWeight * p[1];
      sums[2] = span.firstWeight * p[2];
    } else {
      uint32_t b = span.firstWeight * p[0], g = span.firstWeight * p[1], r = span.firstWeight * p[2];
      uint32_t ib = 0, ig = 0, ir = 0;
      const uint8_t* q = p + 3;
      for (int32_t k = 1; k + 1 < span.count; ++k, q += 3) {
        ib += q[0];
        ig += q[1];
        ir += q[2];
      }
      sums[0] = b + ib * span.innerWeight + span.lastWeight * q[0];
      sums[1] = g + ig * span.innerWeight + span.lastWeight * q[1];
      sums[2] = r + ir * span.innerWeight + span.lastWeight * q[2];
    }
    sums += 3;
  }
}

// Rows [rowBegin, rowEnd) of the area with at least one axis averaged.
void AveragedRows(const Bitmap& source, const AxisMap& xs, const AxisMap& ys, int rowBegin, int rowEnd,
                  Bitmap& out, Point at) {
  const std::size_t width = xs.spans.size();
  std::vector<uint32_t> rowSums(width * 3);
  std::vector<uint64_t> totals(width * 3);
  const uint64_t divisor = xs.total * ys.total;
  for (int j = rowBegin; j < rowEnd; ++j) {
    const Span& span = ys.spans[static_cast<std::size_t>(j)];
    std::fill(totals.begin(), totals.end(), 0);
    for (int32_t k = 0; k < span.count; ++k) {
      SumRow(source.Row(span.first + k), xs, rowSums.data());
      const uint64_t weight = WeightAt(span, k);
      for (std::size_t i = 0; i < totals.size(); ++i) totals[i] += weight * rowSums[i];
    }
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    for (std::size_t i = 0; i < totals.size(); ++i) {
      dst[i] = static_cast<uint8_t>((totals[i] + divisor / 2) / divisor);
    }
  }
}

}  // namespace

void StretchRegion(const Bitmap& source, Size view, const Rect& area, Bitmap& out, Point at) {
  if (source.Format() != PixelFormat::Bgr24 || out.Format() != PixelFormat::Bgr24) {
    throw std::logic_error("stretching works on 24-bit bitmaps");
  }
  if (area.Width() <= 0 || area.Height() <= 0 || source.IsEmpty()) return;
  const AxisMap xs = MapAxis(source.Width(), view.width, area.left, area.right);
  const AxisMap ys = MapAxis(source.Height(), view.height, area.top, area.bottom);
  const auto rows = [&](int begin, int end) {
    if (xs.nearest && ys.nearest)
      NearestRows(source, xs, ys, begin, end, out, at);
    else
      AveragedRows(source, xs, ys, begin, end, out, at);
  };
  // Source pixels read: threads pay off from about a million.
  const uint64_t work = static_cast<uint64_t>(area.Width()) * static_cast<uint64_t>(area.Height()) *
                        (xs.nearest ? 1 : static_cast<uint64_t>(source.Width()) / view.width + 1) *
                        (ys.nearest ? 1 : static_cast<uint64_t>(source.Height()) / view.height + 1);
  const int height = area.Height();
  const int threads =
      work < (1u << 20) ? 1 : std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
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
