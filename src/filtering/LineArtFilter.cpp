#include <algorithm>
#include <cmath>

#include "filtering/ColorFilters.h"
#include "filtering/FilterArithmetic.h"

namespace mv {

Pixel TLineArtFilter::Apply(Window window, std::span<const int32_t> kernel, double divisor,
                            int32_t parameter) const {
  if (kernel.size() < window.size() + 9) throw RangeError();
  // Both differences in checked 32-bit integers, signed.
  int32_t dx = 0, dy = 0;
  for (std::size_t i = 0; i < window.size(); ++i) {
    const int64_t brightness = window[i]->red + window[i]->green + window[i]->blue;
    dx = CheckedInt32(dx + CheckedInt32(brightness * kernel[i]));
    dy = CheckedInt32(dy + CheckedInt32(brightness * kernel[i + 9]));
  }
  const Extended scale = 3 * static_cast<Extended>(divisor);
  Extended v;
  if (parameter == 0) {
    v = CheckedDivide(CheckedInt32(int64_t{dx} + dy), scale);
  } else if (parameter == 1) {
    v = std::max(CheckedDivide(dx, scale), CheckedDivide(dy, scale));
  } else {
    const int32_t squares = CheckedInt32(CheckedInt32(int64_t{dx} * dx) + int64_t{dy} * dy);
    v = CheckedDivide(std::sqrt(static_cast<Extended>(squares)), scale);
  }
  const uint8_t grey = ClampToByte(v);
  return Pixel{grey, grey, grey};
}

}  // namespace mv
