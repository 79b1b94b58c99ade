#include "codecs/ImageLimits.h"

#include "codecs/CodecError.h"

namespace mv {

void CheckImageSize(int64_t width, int64_t height, const ImageLimits& limits) {
  if (width <= 0 || height <= 0) throw CodecError("image has no pixels");
  if (width > limits.maxSide || height > limits.maxSide) throw CodecError("image side too large");
  // Both sides are at most maxSide here, so the product cannot overflow 64 bits.
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > limits.maxPixels)
    throw CodecError("image has too many pixels");
}

}  // namespace mv
