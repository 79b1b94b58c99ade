#include "option/ImageViewCheck.h"

#include <cstdint>

#include "platform/ImageLimits.h"

namespace mv {

bool IsReadableView(const MvImageView* image) {
  if (image == nullptr || image->bgr == nullptr) return false;
  if (!WithinImageLimits(image->width, image->height)) return false;
  return image->stride >= 0 && static_cast<int64_t>(image->stride) >= int64_t{3} * image->width;
}

}  // namespace mv
