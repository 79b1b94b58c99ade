#pragma once
// One 24-bit pixel in memory order blue, green, red, as the rows of a 24-bit bitmap hold it.

#include <cstdint>

namespace mv {

struct Pixel {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  bool operator==(const Pixel&) const = default;
};
static_assert(sizeof(Pixel) == 3, "a pixel is three packed bytes");

}  // namespace mv
