#include "colour/ColorFunctions.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// One channel through the band walk: n levels of width d = 256 div n, the first r = 256 mod n bands
// one wider. A value maps to the middle of its band (its lower edge + d div 2); the lowest band to 0,
// the highest to 255.
uint8_t PosterizeChannel(int32_t c, int32_t n) {
  const int32_t d = 256 / n;
  const int32_t r = 256 % n;
  if (r == 0 ? c < d - 1 : c < d) return 0;
  if (c > CheckedInt32(int64_t{n - 1} * d + r)) return 255;
  int32_t widerBandsLeft = r;
  int32_t v = r == 0 ? d - 1 : d;
  int32_t step = 0;
  while (v < 255 - d) {
    if (widerBandsLeft > 0) {
      v += d + 1;
      step = d + 1;
      --widerBandsLeft;
    } else {
      v += d;
      step = d;
    }
    if (v > c) break;
  }
  return CheckedChannel(int64_t{v} - step + d / 2);
}

}  // namespace

Pixel TPosterization::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t> params, double,
                              int32_t) const {
  const int32_t levels = ParamAt(params, 0);
  if (levels == 0) throw DivisionByZeroError();
  // With a negative count the walk would step downward until the integer overflows.
  if (levels < 0) throw RangeError();
  return Pixel{PosterizeChannel(color.blue, levels), PosterizeChannel(color.green, levels),
               PosterizeChannel(color.red, levels)};
}

}  // namespace mv
