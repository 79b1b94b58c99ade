#include "view/Stretch.h"

#include "view/AreaStretch.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Parallel.h"

namespace mv {

namespace {

void CheckFormats(const Bitmap& source, const Bitmap& out) {
  const PixelFormat format = source.Format();
  if ((format != PixelFormat::Bgr24 && format != PixelFormat::Bgrx32 && format != PixelFormat::Indexed8) ||
      out.Format() != PixelFormat::Bgr24) {
    throw std::logic_error("stretching reads 24-bit, 32-bit or 8-bit grey bitmaps and writes 24-bit ones");
  }
}

Size SizeOf(const Bitmap& bitmap) {
  return {bitmap.Width(), bitmap.Height()};
}

}  // namespace

void StretchRegion(const Bitmap& window, Point origin, Size sourceSize, Size view, const Rect& area,
                   Bitmap& out, Point at, StretchWorkspace& workspace, StretchOptions options) {
  CheckFormats(window, out);
  if (area.Width() <= 0 || area.Height() <= 0 || sourceSize.width <= 0 || sourceSize.height <= 0) return;
  const AreaStretch stretch({window, origin}, sourceSize, view, area, workspace, options.allowVector);
  stretch.Rows(0, area.Height(), out, at, workspace);
}

void StretchRegion(const Bitmap& source, Size view, const Rect& area, Bitmap& out, Point at,
                   StretchWorkspace& workspace, StretchOptions options) {
  StretchRegion(source, {0, 0}, SizeOf(source), view, area, out, at, workspace, options);
}

void StretchRegion(const Bitmap& source, Size view, const Rect& area, Bitmap& out, Point at,
                   StretchOptions options) {
  CheckFormats(source, out);
  if (area.Width() <= 0 || area.Height() <= 0 || source.IsEmpty()) return;
  StretchWorkspace workspace;
  const AreaStretch stretch({source}, SizeOf(source), view, area, workspace, options.allowVector);
  const int threads = !options.allowThreads || stretch.Work() < (1u << 20) ? 1 : ParallelThreads();
  std::vector<StretchWorkspace> sums(static_cast<std::size_t>(std::min(threads, area.Height())));
  RunRowBands(area.Height(), threads, [&](int begin, int end, std::size_t worker) {
    stretch.Rows(begin, end, out, at, sums[worker]);
  });
}

}  // namespace mv
