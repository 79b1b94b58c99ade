// The pixel operations whose rule is one line per channel.

#include <algorithm>
#include <cmath>

#include "colour/ColorFunctions.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

constexpr Pixel kWhite{255, 255, 255};
constexpr Pixel kBlack{0, 0, 0};

// The same rule applied to blue, green and red.
template <typename Rule>
Pixel EachChannel(Pixel color, Rule rule) {
  return Pixel{rule(color.blue), rule(color.green), rule(color.red)};
}

// The general real power: 1 for exponent 0, 0 for base 0 and a positive exponent.
Extended Power(Extended base, Extended exponent) {
  if (exponent == 0) return 1;
  if (base == 0 && exponent > 0) return 0;
  return std::pow(base, exponent);
}

}  // namespace

Pixel TGrayScale::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double, int32_t) const {
  const int32_t sum = 298912 * color.red + 586611 * color.green + 114470 * color.blue;
  const uint8_t grey = ClampToByte(static_cast<Extended>(sum) * 0.000001L);
  return Pixel{grey, grey, grey};
}

Pixel TContrastChange::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double value,
                               int32_t) const {
  const Extended factor = value;
  return EachChannel(color, [factor](uint8_t c) { return ClampToByte((c - 128) * factor + c); });
}

Pixel TBrightnessChange::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double value,
                                 int32_t) const {
  const Extended offset = value;
  return EachChannel(color, [offset](uint8_t c) { return ClampToByte(c + offset); });
}

Pixel TGammaCorrection::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double value,
                                int32_t) const {
  if (value <= 0) return color;
  const Extended exponent = 1 / static_cast<Extended>(value);
  return EachChannel(color, [exponent](uint8_t c) { return ClampToByte(Power(c / 255.0L, exponent) * 255); });
}

Pixel TBlackAndWhite::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double value,
                              int32_t mode) const {
  const Extended threshold = value;
  if (threshold == 0) return kWhite;
  if (threshold == 255) return kBlack;
  bool white;
  if (mode == 0) {
    white = color.red + color.green + color.blue >= 3 * threshold;
  } else if (mode == 1) {
    white = std::max({color.red, color.green, color.blue}) >= threshold;
  } else {
    white = std::min({color.red, color.green, color.blue}) >= threshold;
  }
  return white ? kWhite : kBlack;
}

Pixel TColorInverse::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double, int32_t) const {
  return EachChannel(color, [](uint8_t c) { return static_cast<uint8_t>(255 - c); });
}

Pixel TRGBEachOffset::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t> params, double,
                              int32_t) const {
  // The sums are 32-bit integer arithmetic: an offset that overflows it is a range error.
  auto offset = [](uint8_t c, int32_t amount) { return ClampToByte(CheckedInt32(int64_t{c} + amount)); };
  Pixel result;
  result.red = offset(color.red, ParamAt(params, 0));
  result.green = offset(color.green, ParamAt(params, 1));
  result.blue = offset(color.blue, ParamAt(params, 2));
  return result;
}

Pixel TRGBExchange::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double, int32_t) const {
  Pixel result;
  result.red = color.green;
  result.green = color.blue;
  result.blue = color.red;
  return result;
}

Pixel TXORTrans::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t> params, double,
                         int32_t) const {
  const int32_t mask = ParamAt(params, 0);
  return EachChannel(color, [mask](uint8_t c) { return CheckedChannel(c ^ mask); });
}

}  // namespace mv
