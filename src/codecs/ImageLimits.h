#pragma once
// The limits a reader applies: the program's image limits, and how many scans a progressive JPEG
// file may have. Tests lower them to try the refusals on small files.

#include <cstdint>

#include "platform/ImageLimits.h"

namespace mv {

struct ImageLimits {
  uint64_t maxPixels = kMaxImagePixels;
  int maxSide = kMaxImageSide;
  // Progressive JPEG files with more scans are refused (each scan re-reads the whole coefficient buffer).
  int maxProgressiveScans = 500;
};

// Throws CodecError unless 1 <= width, height <= maxSide and width x height <= maxPixels.
// The product is formed in 64 bits, so any declared size can be passed.
void CheckImageSize(int64_t width, int64_t height, const ImageLimits& limits);

}  // namespace mv
