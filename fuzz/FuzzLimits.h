#pragma once
// Limits for fuzzing: the readers' checks are the same, only the largest image is smaller, so a
// declared size the limits allow still decodes in a few milliseconds under the sanitizers.

#include "codecs/ImageLimits.h"

namespace mv {

inline ImageLimits FuzzLimits() {
  ImageLimits limits;
  limits.maxPixels = uint64_t{1} << 22;
  return limits;
}

}  // namespace mv
