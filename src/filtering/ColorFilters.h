#pragma once
// The neighbourhood filters. None keeps state: one instance serves a whole pass.

#include "filtering/ColorFilter.h"

namespace mv {

// Convolution: per channel clamp(sum of value * weight / divisor + parameter). The kernel needs at
// least as many weights as the window; a zero divisor raises the floating-point division error.
class TCustomFilter final : public TColorFilter {
 public:
  Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor,
              int32_t parameter) const override;
};

// Two-direction edge strength as a grey pixel. Kernel: the horizontal difference (window count
// weights), then the vertical one at offset 9. Parameter: 0 (dX + dY) / 3D, 1 max(dX, dY) / 3D,
// other sqrt(dX^2 + dY^2) / 3D, on brightness R + G + B.
class TLineArtFilter final : public TColorFilter {
 public:
  Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor,
              int32_t parameter) const override;
};

// Rank selection by brightness: the first window element (in window order) whose brightness is the
// k-th smallest, k = the divisor truncated (4 is the median of a 3 x 3 window).
class TMedianFilter final : public TColorFilter {
 public:
  Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor,
              int32_t parameter) const override;
};

// Spreads each pixel's local deviation to the window elements after the centre (5 .. count - 1) by
// the kernel's weights (sixteenths, scaled by the divisor), writing through the window; returns the
// centre as it then is. The result depends on the scan order.
class TErrorDiffusionFilter final : public TColorFilter {
 public:
  Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor,
              int32_t parameter) const override;
};

// Block fill: copies element 0 into every non-empty element (empty ones are null) and returns it.
class TMozaicFilter final : public TColorFilter {
 public:
  Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor,
              int32_t parameter) const override;
};

}  // namespace mv
