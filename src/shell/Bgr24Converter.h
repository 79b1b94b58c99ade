#pragma once
// Converts parts of a picture in any pixel format to 24-bit, with the colours Bitmap::ColorAt gives,
// through a table per palette index or 5-5-5 value: the viewport converts only the parts it shows.

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace mv {

class Bgr24Converter {
 public:
  // Tables for `picture`'s format and palette.
  explicit Bgr24Converter(const Bitmap& picture);

  // The pixels of `block` (picture coordinates) into the same places of `out`, a 24-bit bitmap of
  // the picture's size. Writes no byte outside the block, so blocks can be converted in parallel.
  void Convert(const Bitmap& picture, const Rect& block, Bitmap& out) const;

 private:
  PixelFormat format_;
  std::vector<uint32_t> colors_;  // 0x00RRGGBB read as bytes B, G, R: per index or 5-5-5 value
};

}  // namespace mv
