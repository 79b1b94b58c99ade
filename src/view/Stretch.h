#pragma once
// The working image as the image area shows it, stretched to Im1's size: where the picture is
// enlarged, each view pixel takes the source pixel under it (pixels stay crisp, as people measure on
// them); where it is reduced, each view pixel is the exact area average of the source pixels it
// covers, computed in integers. Each axis is treated on its own.
//
// Nearest source pixel along an enlarged axis of source length s and view length v: floor(d * s / v).
// Area average along a reduced axis: view pixel d covers [d * s, (d + 1) * s) and source pixel i
// covers [i * v, (i + 1) * v) in units of 1 / (s * v) of the axis; weights are the overlaps. The
// result is the weighted sum divided by the weights' total, rounded half up.

#include <vector>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "view/StretchTables.h"

namespace mv {

// Memory a stretch works in. A caller that stretches often keeps one per thread, so repeated
// stretches allocate nothing once it has grown.
struct StretchWorkspace {
  std::vector<stretch::Span> columnSpans, rowSpans;
  std::vector<int32_t> tapOffsets;
  std::vector<uint32_t> tapWeights;
  std::vector<int16_t> pairWeights;
  std::vector<uint16_t> sums16;
  std::vector<uint32_t> sums32;
  Bitmap window;  // a part of a picture in another format, converted to 24 bits for a stretch
};

struct StretchOptions {
  bool allowThreads = true;  // false when the caller runs several areas at once
  bool allowVector = true;   // false runs the plain code even where the processor has AVX2
};

// Writes the view pixels `area` (view coordinates, inside 0..view) of `source` stretched to `view` into
// `out` (24-bit) with area's top-left at `at`. Uses several threads for large areas. The source is
// 24-bit, 32-bit (the fourth byte unused) or 8-bit read as grey levels: byte v is the colour (v, v, v),
// which is what an 8-bit picture with the grey scale as its palette shows.
void StretchRegion(const Bitmap& source, Size view, const Rect& area, Bitmap& out, Point at,
                   StretchOptions options = {});
// The same on the calling thread alone, in memory kept by the caller.
void StretchRegion(const Bitmap& source, Size view, const Rect& area, Bitmap& out, Point at,
                   StretchWorkspace& workspace, StretchOptions options = {});
// The same from a window of a `sourceSize` picture: `window` holds the picture's pixels from `origin`
// on, at least all those the area reads.
void StretchRegion(const Bitmap& window, Point origin, Size sourceSize, Size view, const Rect& area,
                   Bitmap& out, Point at, StretchWorkspace& workspace, StretchOptions options = {});

}  // namespace mv
