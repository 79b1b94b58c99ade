#include "colour/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "platform/ImageLimits.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// One source cell [i, i + 1] against a footprint [low, high] along one axis: how much of it the
// footprint covers and the mean offset of the covered part within the cell.
struct CellOverlap {
  int near;  // the cell's first pixel index, clamped into the picture
  int far;   // the next pixel index, clamped into the picture
  Extended width;
  Extended mean;
};

// The cells from floor(low) to floor(high), with the overlap rules of the resampler.
std::vector<CellOverlap> CellsOf(Extended low, Extended high, int size) {
  std::vector<CellOverlap> cells;
  const auto first = static_cast<int64_t>(std::floor(low)), last = static_cast<int64_t>(std::floor(high));
  for (int64_t i = first; i <= last; ++i) {
    const auto cell = static_cast<Extended>(i);
    CellOverlap overlap{};
    overlap.near = static_cast<int>(std::clamp<int64_t>(i, 0, size - 1));
    overlap.far = static_cast<int>(std::clamp<int64_t>(i + 1, 0, size - 1));
    if (cell > low && cell + 1 < high) {
      overlap.width = 1;
      overlap.mean = 0.5L;
    } else if (cell <= low && cell + 1 < high) {
      overlap.width = 1 - (low - cell);
      overlap.mean = (low - cell + 1) / 2;
    } else if (cell > low && cell + 1 >= high) {
      overlap.width = high - cell;
      overlap.mean = (high - cell) / 2;
    } else {
      overlap.width = high - low;
      overlap.mean = ((high - cell) + (low - cell)) / 2;
    }
    cells.push_back(overlap);
  }
  return cells;
}

// The cells of every destination column (or row) n of `count` along an axis of scale `step`.
std::vector<std::vector<CellOverlap>> FootprintCells(int count, Extended step, int size) {
  std::vector<std::vector<CellOverlap>> footprints(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) {
    const Extended low = n * step - 0.5L;
    const Extended high = (n + 1) * step - 0.500001L;
    footprints[static_cast<std::size_t>(n)] = CellsOf(low, high, size);
  }
  return footprints;
}

// Adds the integral of the bilinear surface over one cell's overlap to the three channels.
inline void AddCell(Extended (&sum)[3], const uint8_t* p00, const uint8_t* p10, const uint8_t* p01,
                    const uint8_t* p11, const CellOverlap& cx, const CellOverlap& cy) {
  const Extended area = cx.width * cy.width;
  const Extended u = cx.mean, v = cy.mean;
  for (int c = 0; c < 3; ++c) {
    const int a = p00[c], b = p10[c], d = p01[c], e = p11[c];
    const Extended surface = a + (b - a) * u + (d - a) * v + (e - b - d + a) * u * v;
    sum[c] += area * surface;
  }
}

// A channel's mean rounded to the nearest integer with halves to even, as RoundHalfEven does, for the
// non-negative means of the resampler (cheaper than the library's rounding, which dominated the time).
uint8_t RoundChannel(Extended mean) {
  if (!(mean > 0)) return 0;
  if (mean >= 255) return 255;  // not reached: the footprints fall short of the full cell
  const auto whole = static_cast<int>(mean);
  const Extended fraction = mean - whole;  // exact
  const bool up = fraction > 0.5L || (fraction == 0.5L && (whole & 1) != 0);
  return static_cast<uint8_t>(whole + (up ? 1 : 0));
}

void CheckDestinationSize(int width, int height) {
  if (width == 0 || height == 0) throw ZeroDivideError();
  if (width < 0 || height < 0) throw RangeError();
  if (!WithinImageLimits(width, height)) throw std::bad_alloc();
}

}  // namespace

std::optional<Bitmap> ResampleBitmap(const Bitmap& source, int width, int height, Feedback& feedback) {
  if (source.Width() <= 0 || source.Height() <= 0) throw std::invalid_argument("empty picture");
  CheckDestinationSize(width, height);
  const int W = source.Width(), H = source.Height();
  const Extended sx = static_cast<Extended>(W) / width, sy = static_cast<Extended>(H) / height;
  const Extended ratio = static_cast<Extended>(W) * H / width / height;

  Bitmap destination(width, height, PixelFormat::Bgr24);
  std::optional<Bitmap> converted;
  if (source.Format() != PixelFormat::Bgr24) converted = source.ToBgr24();
  const Bitmap& pixels = converted ? *converted : source;
  const auto columns = FootprintCells(width, sx, W);
  const auto rows = FootprintCells(height, sy, H);

  const std::unique_ptr<ProgressDialog> dialog = feedback.CreateProgressDialog();
  dialog->Start("縮小/拡大画像作成中", height - 1);
  for (int y = 0; y < height; ++y) {
    if (!dialog->IsVisible()) {
      feedback.SetMessage("キャンセルしました");
      return std::nullopt;
    }
    uint8_t* out = destination.Row(y);
    for (int x = 0; x < width; ++x, out += 3) {
      Extended sum[3] = {0, 0, 0};
      for (const CellOverlap& cy : rows[static_cast<std::size_t>(y)]) {
        const uint8_t* nearRow = pixels.Row(cy.near);
        const uint8_t* farRow = pixels.Row(cy.far);
        for (const CellOverlap& cx : columns[static_cast<std::size_t>(x)]) {
          const std::size_t left = static_cast<std::size_t>(cx.near) * 3,
                            right = static_cast<std::size_t>(cx.far) * 3;
          AddCell(sum, nearRow + left, nearRow + right, farRow + left, farRow + right, cx, cy);
        }
      }
      for (int c = 0; c < 3; ++c) out[c] = RoundChannel(sum[c] / ratio);
    }
    dialog->StepIt();
    feedback.ProcessPendingEvents();
  }
  return destination;
}

std::optional<Bitmap> MakeThumbnail(const Bitmap& source, int box, Feedback& feedback) {
  try {
    const int W = source.Width(), H = source.Height();
    const Extended scale = std::min(static_cast<Extended>(box) / W, static_cast<Extended>(box) / H);
    const auto width = CheckedInt32(TruncTowardZero(W * scale));
    const auto height = CheckedInt32(TruncTowardZero(scale * H));
    return ResampleBitmap(source, width, height, feedback);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace mv
