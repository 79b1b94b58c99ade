#pragma once
// The pieces the stretch is built from, shared by the plain code and the AVX2 loops: the source
// pixels behind each view pixel along one axis, and one averaged stretch laid out as tables.

#include <cstddef>
#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace mv::stretch {

// The source pixels behind one view pixel along an axis: `count` pixels from `first`, weighted
// firstWeight, then innerWeight each, then lastWeight; the weights add up to the axis' total.
struct Span {
  int32_t first = 0;
  int32_t count = 1;
  uint32_t firstWeight = 1;
  uint32_t innerWeight = 1;
  uint32_t lastWeight = 1;
};

// The source pixels the stretch reads: the whole picture, or a window of it copied aside (`pixels`
// then holds the source pixels from `origin` on). Pixels are 24-bit, 32-bit (the fourth byte unused) or
// 8-bit grey levels, one byte each.
struct SourcePixels {
  SourcePixels(const Bitmap& bitmap, Point windowOrigin = {0, 0})
      : pixels(bitmap), origin(windowOrigin), pixelBytes(bitmap.BitsPerPixel() / 8) {}
  const Bitmap& pixels;
  Point origin;
  int pixelBytes;
  // Source pixel (x, y), which must lie inside the window.
  const uint8_t* At(int32_t x, int32_t y) const {
    return pixels.Row(y - origin.y) + static_cast<std::size_t>(x - origin.x) * pixelBytes;
  }
  std::size_t Stride() const { return pixels.Stride(); }
};

inline uint32_t WeightAt(const Span& span, int32_t k) {
  if (k == 0) return span.firstWeight;
  if (k == span.count - 1) return span.lastWeight;
  return span.innerWeight;
}

// An averaged stretch of one area as the vector loops read it. Each view row first sums its source
// rows over `rowBytes` bytes from source column firstColumn into `columns` (one sum per byte, vertical
// weights applied); each view pixel then weighs `taps` consecutive pixels of those sums.
//
// Grey sources lay the weights out per group of eight view pixels: per tap (wide loop) each pixel's
// weight, per pair of taps (narrow loop) each pixel's two weights.
struct ReductionTables {
  const Span* rows = nullptr;           // per view row of the area
  int32_t firstColumn = 0;              // the first source column the area reads
  std::size_t rowBytes = 0;             // source bytes read per row
  const int32_t* tapOffsets = nullptr;  // per view pixel: its first tap's element in `columns`
  // The horizontal weights per group of two view pixels, then per tap (wide loop) or pair of taps
  // (narrow loop). Wide: each pixel's weight four times, as 32-bit numbers. Narrow: each pixel's two
  // weights three times and two zeros, as 16-bit numbers. Pixels past the area's width and taps past a
  // pixel's span weigh 0.
  const uint32_t* tapWeights = nullptr;
  const int16_t* pairWeights = nullptr;
  int width = 0;         // view pixels per row; the tables cover it rounded up to four (eight for grey)
  int taps = 1;          // the tables' taps per pixel, even for the narrow loop
  uint64_t divisor = 1;  // the product of both axes' weight totals
  int pixelBytes = 3;    // 3 or 4 (three channels), or 1 (grey)
  // Wide loop: the vertical weights stay below 2^15 and no span has more than 130 rows, so the
  // column sums can be worked out from 16-bit numbers.
  bool pairedColumnSums = false;
};

// Elements the column sums need: the sums themselves, then zeros for the taps past the last source
// column the area reads.
inline std::size_t ColumnSumsLength(const ReductionTables& tables) {
  return tables.rowBytes + 4 * static_cast<std::size_t>(tables.taps) + 16;
}

// Whether this processor runs the AVX2 loops.
bool HaveAvx2();

// Rows [rowBegin, rowEnd) of the area into out at `at`, in `columns` of ColumnSumsLength elements
// whose part past rowBytes is zero.
//
// The narrow loop takes 16-bit column sums and pairs of taps: the vertical total times 255 and the
// horizontal total must stay below 2^15 and the divisor times 255 below 2^31.
void ReduceRowsNarrowAvx2(const SourcePixels& source, const ReductionTables& tables, int rowBegin, int rowEnd,
                          uint16_t* columns, Bitmap& out, Point at);
// The wide loop takes 32-bit column sums: the divisor times 255 plus half the divisor must stay
// below 2^32.
void ReduceRowsWideAvx2(const SourcePixels& source, const ReductionTables& tables, int rowBegin, int rowEnd,
                        uint32_t* columns, Bitmap& out, Point at);

}  // namespace mv::stretch
