#include <cmath>

#include "colour/ColorFunctions.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

constexpr Extended kTwoPi = 6.283185307179586232L;

// Remainder with the sign of the dividend, as integer mod is defined.
int64_t Mod256(int64_t p) {
  return p % 256;
}

uint8_t SolarizeChannel(int32_t c, int32_t k, int32_t mode) {
  const int64_t p = CheckedInt32(int64_t{k} * c);
  const int64_t q = p / 128;
  switch (mode) {
    case 1: {
      const int64_t doubled = CheckedInt32(2 * p);
      return CheckedChannel(q % 2 == 0 ? 255 - Mod256(doubled) : Mod256(doubled));
    }
    case 2:
      return CheckedChannel(Mod256(p));
    case 3:
      return CheckedChannel(255 - Mod256(p));
    case 4:
      return CheckedChannel(RoundHalfEven(127.5L + 127.5L * std::sin(kTwoPi * k * c / 255)));
    case 5:
      return CheckedChannel(RoundHalfEven(127.5L + 127.5L * std::cos(kTwoPi * k * c / 255)));
    default:
      return CheckedChannel(q % 2 == 0 ? Mod256(p) : 255 - Mod256(p));
  }
}

}  // namespace

Pixel TSolarization::Convert(int32_t, int32_t, Pixel color, std::span<const int32_t>, double value,
                             int32_t mode) const {
  const int32_t k = RoundToInt32(value);
  return Pixel{SolarizeChannel(color.blue, k, mode), SolarizeChannel(color.green, k, mode),
               SolarizeChannel(color.red, k, mode)};
}

}  // namespace mv
