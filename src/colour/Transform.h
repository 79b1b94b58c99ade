#pragma once
// The four whole-pixel transforms of a bitmap: rotation by 90 degrees either way, mirroring and
// flipping. Pixels are moved whole, in the bitmap's own format (8, 16, 24 or 32 bits per pixel).

#include "platform/Bitmap.h"

namespace mv {

enum TransformCode : int {
  kRotateClockwise = 0,
  kRotateCounterClockwise = 1,
  kMirrorLeftRight = 2,
  kFlipTopBottom = 3,
};

// True for the codes that exchange width and height.
inline bool SwapsSides(int code) {
  return code == kRotateClockwise || code == kRotateCounterClockwise;
}

// The transformed copy D of `source` S (W, H: D's width and height):
//   0: D(x, y) = S(y, W - 1 - x)     1: D(x, y) = S(H - 1 - y, x)
//   2: D(x, y) = S(W - 1 - x, y)     3: D(x, y) = S(x, H - 1 - y)
// Bitmaps with fewer than 8 bits per pixel are transformed as 24-bit copies. std::invalid_argument
// for another code.
Bitmap TransformPixels(int code, const Bitmap& source);

// Where a point (in image pixels, as a real number) of a picture lands when the whole picture is
// transformed; width and height are those of the picture after the transform.
struct RealPoint {
  double x = 0;
  double y = 0;
};
RealPoint TransformPoint(int code, RealPoint point, int width, int height);

}  // namespace mv
