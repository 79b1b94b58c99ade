// The two operations driven by a channel range lo..hi: the linear stretch and the range mask.

#include <cmath>

#include "colour/ColorFunctions.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

uint8_t Stretch(uint8_t c, int32_t lo, int32_t hi, int32_t operation) {
  const int32_t width = CheckedInt32(int64_t{hi} - lo);
  if (operation == 0) {
    if (width == 0) throw DivisionByZeroError();
    const int32_t numerator = CheckedInt32((int64_t{c} - lo) * 255);
    return ClampToByte(static_cast<Extended>(numerator) / width);
  }
  const int32_t numerator = CheckedInt32(int64_t{width} * c);
  return ClampToByte(static_cast<Extended>(numerator) / 255.0L + lo);
}

}  // namespace

Pixel TExpandShrinkRGB::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t> params, double,
                                int32_t) const {
  const int32_t lo = ParamAt(params, 0);
  const int32_t hi = ParamAt(params, 1);
  const int32_t channel = ParamAt(params, 2);
  const int32_t operation = ParamAt(params, 3);
  if (operation != 0 && operation != 1) return color;
  Pixel result = color;
  if (channel == 1 || channel < 1 || channel > 3) result.red = Stretch(color.red, lo, hi, operation);
  if (channel == 2 || channel < 1 || channel > 3) result.green = Stretch(color.green, lo, hi, operation);
  if (channel == 3 || channel < 1 || channel > 3) result.blue = Stretch(color.blue, lo, hi, operation);
  return result;
}

Pixel TRGBRangeLimit::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t> params, double value,
                              int32_t mode) const {
  const int32_t lo = ParamAt(params, 0);
  const int32_t hi = ParamAt(params, 1);
  const Pixel fill = std::fabs(value) <= 1e-12 ? Pixel{0, 0, 0} : Pixel{255, 255, 255};
  auto inside = [lo, hi](int32_t v) { return lo <= v && v <= hi; };
  bool keep;
  switch (mode) {
    case 1:
      keep = inside(color.red);
      break;
    case 2:
      keep = inside(color.green);
      break;
    case 3:
      keep = inside(color.blue);
      break;
    default: {
      const int32_t sum = color.red + color.green + color.blue;
      keep = CheckedInt32(3 * int64_t{lo}) <= sum && sum <= CheckedInt32(3 * int64_t{hi});
    }
  }
  return keep ? color : fill;
}

}  // namespace mv
