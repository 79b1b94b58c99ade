#pragma once
// libvips's convolutions in-process through its C API, on a 24-bit picture already in memory: each
// call builds the operation on an image wrapping the pixels and evaluates it into memory, as a
// program using libvips would for one command.

#include <cstdint>
#include <vector>

#include "../VipsImages.h"
#include "platform/Bitmap.h"

namespace mv {

class VipsConvolution {
 public:
  explicit VipsConvolution(const char* programName) : vips_(programName) {}

  bool Started() const { return vips_.Started(); }
  // vips_conv with an integer mask (side x side weights, row by row) and its scale, integer precision.
  void Conv(const Bitmap& picture, int side, const std::vector<int32_t>& weights, double scale) const;
  // vips_convsep with a row of `taps` ones over `taps`, integer precision.
  void BoxSeparable(const Bitmap& picture, int taps) const;
  // vips_rank over a side x side window.
  void Rank(const Bitmap& picture, int side, int index) const;

 private:
  bench::VipsSession vips_;
};

}  // namespace mv
