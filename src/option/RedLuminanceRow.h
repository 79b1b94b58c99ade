#pragma once
// The luminance of a row of 24-bit pixels, as the program's grey-scale command computes it:
// (298912 R + 586611 G + 114470 B) div 1000000 per pixel, paired with the pixel's red level, as
// the histogram counts them.

#include <cstdint>

namespace mv {

inline uint8_t LuminanceOf(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint8_t>((298912u * red + 586611u * green + 114470u * blue) / 1000000u);
}

// out[x] = red * 256 + luminance of pixel x of `bgr` (blue, green, red triples) for x < width.
// Uses the processor's vector unit where it has one; the result is the same either way.
void RedLuminanceRow(const uint8_t* bgr, int width, uint16_t* out);

// The same, one pixel at a time.
void RedLuminanceRowPlain(const uint8_t* bgr, int width, uint16_t* out);

}  // namespace mv
