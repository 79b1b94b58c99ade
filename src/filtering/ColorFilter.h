#pragma once
// TColorFilter: computes one output pixel from the neighbourhood window of a pixel. The
// neighbourhood pass (NeighbourhoodPass.h) calls Apply once per pixel of a padded bitmap.
//
// The window of radius r has N*N elements, N = 2r + 1: element N*i + j refers to the pixel at column
// x + j - r, row y + i - r of the pass's source copy, (x, y) being the centre (for r = 1: 0 1 2 /
// 3 4 5 / 6 7 8, centre 4). The elements point into live rows, so a filter may also write through
// them; such writes are seen by the windows that follow in scan order.

#include <cstdint>
#include <span>

#include "platform/Pixel.h"

namespace mv {

using Window = std::span<Pixel* const>;

class TColorFilter {
 public:
  virtual ~TColorFilter() = default;
  // kernel: the weights (row by row); divisor and parameter: their meaning depends on the class.
  virtual Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor,
                      int32_t parameter) const = 0;
};

}  // namespace mv
