#include <cmath>

#include "colour/ColorFunctions.h"
#include "platform/Numbers.h"

namespace mv {

Pixel TSinTrans::Convert(int32_t x, int32_t y, Pixel color, std::span<const int32_t> params, double value,
                         int32_t mode) const {
  const int32_t centreX = ParamAt(params, 0);
  const int32_t centreY = ParamAt(params, 1);
  const int32_t wavelength = ParamAt(params, 2);
  const int32_t amplitude = ParamAt(params, 3);
  const int64_t dx = CheckedInt32(int64_t{x} - centreX);
  const int64_t dy = CheckedInt32(int64_t{y} - centreY);
  const int32_t squared = CheckedInt32(CheckedInt32(dx * dx) + dy * dy);
  const Extended distance = std::sqrt(static_cast<Extended>(squared)) * value;
  Extended phase;
  if (mode == 1) {
    phase = wavelength * distance;
  } else {
    // A zero wavelength divides by zero, as the floating-point unit would report it.
    if (wavelength == 0) {
      if (distance == 0 || std::isnan(distance)) throw InvalidFloatOperation();
      throw ZeroDivideError();
    }
    phase = distance / wavelength;
  }
  const Extended offset = std::cos(phase) * amplitude / 3;
  return Pixel{ClampToByte(color.blue + offset), ClampToByte(color.green + offset),
               ClampToByte(color.red + offset)};
}

}  // namespace mv
