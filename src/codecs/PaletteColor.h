#pragma once
// A palette colour as the quantizer works with it.

#include <cstdint>

namespace mv {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

}  // namespace mv
