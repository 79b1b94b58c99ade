#include "colour/Transform.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/Numbers.h"

namespace mv {

namespace {

// Rotations read the source across its rows; working in square tiles keeps both the rows read and
// the rows written in the cache.
constexpr int kTile = 64;

// Moves every pixel of the destination (width w, height h) from its place in the source.
template <int Code, std::size_t Bytes>
void MovePixels(const Bitmap& source, Bitmap& destination) {
  const int w = destination.Width(), h = destination.Height();
  for (int ty = 0; ty < h; ty += kTile) {
    for (int tx = 0; tx < w; tx += kTile) {
      const int yEnd = std::min(h, ty + kTile), xEnd = std::min(w, tx + kTile);
      for (int y = ty; y < yEnd; ++y) {
        uint8_t* out = destination.Row(y) + static_cast<std::size_t>(tx) * Bytes;
        for (int x = tx; x < xEnd; ++x, out += Bytes) {
          int sx = x, sy = y;
          if constexpr (Code == kRotateClockwise) {
            sx = y;
            sy = w - 1 - x;
          } else if constexpr (Code == kRotateCounterClockwise) {
            sx = h - 1 - y;
            sy = x;
          } else if constexpr (Code == kMirrorLeftRight) {
            sx = w - 1 - x;
          } else {
            sy = h - 1 - y;
          }
          std::memcpy(out, source.Row(sy) + static_cast<std::size_t>(sx) * Bytes, Bytes);
        }
      }
    }
  }
}

template <int Code>
void MovePixelsOfCode(const Bitmap& source, Bitmap& destination) {
  switch (source.BitsPerPixel()) {
    case 8:
      return MovePixels<Code, 1>(source, destination);
    case 16:
      return MovePixels<Code, 2>(source, destination);
    case 24:
      return MovePixels<Code, 3>(source, destination);
    default:
      return MovePixels<Code, 4>(source, destination);
  }
}

}  // namespace

Bitmap TransformPixels(int code, const Bitmap& source) {
  if (code < kRotateClockwise || code > kFlipTopBottom) throw std::invalid_argument("unknown transform");
  if (source.BitsPerPixel() < 8) return TransformPixels(code, source.ToBgr24());
  const bool swap = SwapsSides(code);
  Bitmap destination(swap ? source.Height() : source.Width(), swap ? source.Width() : source.Height(),
                     source.Format());
  if (IsIndexed(source.Format())) destination.SetPalette(source.Palette());
  switch (code) {
    case kRotateClockwise:
      MovePixelsOfCode<kRotateClockwise>(source, destination);
      break;
    case kRotateCounterClockwise:
      MovePixelsOfCode<kRotateCounterClockwise>(source, destination);
      break;
    case kMirrorLeftRight:
      MovePixelsOfCode<kMirrorLeftRight>(source, destination);
      break;
    default:
      MovePixelsOfCode<kFlipTopBottom>(source, destination);
      break;
  }
  return destination;
}

RealPoint TransformPoint(int code, RealPoint point, int width, int height) {
  // The differences are formed in extended precision, then stored as 64-bit floats.
  const auto less = [](int side, double value) {
    return static_cast<double>(static_cast<Extended>(side) - static_cast<Extended>(value));
  };
  switch (code) {
    case kRotateClockwise:
      return {less(width, point.y), point.x};
    case kRotateCounterClockwise:
      return {point.y, less(height, point.x)};
    case kMirrorLeftRight:
      return {less(width, point.x), point.y};
    case kFlipTopBottom:
      return {point.x, less(height, point.y)};
    default:
      return point;
  }
}

}  // namespace mv
