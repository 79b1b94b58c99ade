#pragma once
// The largest images the readers accept. Every reader checks the declared size against these limits
// before it allocates pixel memory, so a small hostile file cannot claim gigabytes.

#include <cstdint>

namespace mv {

struct ImageLimits {
  // 256 megapixels (256 x 2^20).
  uint64_t maxPixels = uint64_t{256} << 20;
  int maxSide = 65535;
  // Progressive JPEG files with more scans are refused (each scan re-reads the whole coefficient buffer).
  int maxProgressiveScans = 500;
};

// Throws CodecError unless 1 <= width, height <= maxSide and width x height <= maxPixels.
// The product is formed in 64 bits, so any declared size can be passed.
void CheckImageSize(int64_t width, int64_t height, const ImageLimits& limits);

}  // namespace mv
