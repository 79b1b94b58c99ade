// The canvas steps of emboss and colour pencil, computed on the processing rectangle's own pixels:
// the result is what those steps leave in the rectangle of the working image.

#include <cstdint>

#include "effects/EffectCommands.h"

namespace mv {

namespace {

bool OnOutline(int x, int y, int width, int height) {
  return x == 0 || y == 0 || x == width - 1 || y == height - 1;
}

}  // namespace

Bitmap EmbossOverBaseColour(const Bitmap& filtered, ColorRef base) {
  const uint8_t channels[3] = {BlueOf(base), GreenOf(base), RedOf(base)};
  Bitmap result = filtered;
  const int w = result.Width(), h = result.Height();
  for (int y = 0; y < h; ++y) {
    uint8_t* row = result.Row(y);
    const bool edgeRow = y == 0 || y == h - 1;
    for (int x = edgeRow ? w : 1; x < w - 1; ++x) {
      for (int c = 0; c < 3; ++c) row[3 * x + c] |= channels[c];
    }
  }
  return result;
}

Bitmap PencilOverRegion(const Bitmap& filtered, const Bitmap& region, const Rect& rect) {
  Bitmap result = region;
  const int w = result.Width(), h = result.Height();
  for (int y = 0; y < h; ++y) {
    uint8_t* out = result.Row(y);
    const uint8_t* f = filtered.Row(y);
    for (int x = 0; x < w; ++x) {
      const bool hatch = ((int64_t{rect.left} + x + rect.top + y) & 7) == 7;
      for (int c = 0; c < 3; ++c) {
        uint8_t a = static_cast<uint8_t>(~out[3 * x + c]);  // inverted
        if (OnOutline(x, y, w, h)) {
          a = 255;  // the white pen
        } else if (hatch) {
          a = 0;  // a black hatch line
        }
        out[3 * x + c] = static_cast<uint8_t>(~(a & f[3 * x + c]));  // ANDed, inverted again
      }
    }
  }
  return result;
}

}  // namespace mv
