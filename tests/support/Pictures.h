#pragma once
// Test pictures whose pixels tell where they came from.

#include <cstdint>

#include "platform/Bitmap.h"

namespace mv::test {

// Every pixel (x, y) is red x, green y, blue 7 (modulo 256): a pixel that lands elsewhere shows it.
inline Bitmap Gradient(int width, int height, PixelFormat format = PixelFormat::Bgr24) {
  Bitmap picture(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.SetColorAt(x, y, MakeColor(uint8_t(x), uint8_t(y), 7));
  }
  return picture;
}

// A picture of one colour.
inline Bitmap Plate(int width, int height, ColorRef color, PixelFormat format = PixelFormat::Bgr24) {
  Bitmap picture(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.SetColorAt(x, y, color);
  }
  return picture;
}

}  // namespace mv::test
