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
  // Tables for `picture`'s format and palette. Rows are converted eight pixels at a time where the
  // processor has AVX2, unless `allowVector` is false (the plain code gives the same bytes).
  explicit Bgr24Converter(const Bitmap& picture, bool allowVector = true);

  // The pixels of `block` (picture coordinates) into the same places of `out`, a 24-bit bitmap of
  // the picture's size. Writes no byte outside the block, so blocks can be converted in parallel.
  void Convert(const Bitmap& picture, const Rect& block, Bitmap& out) const;
  // The same with the block's top-left at `to` in `out`, a 24-bit bitmap large enough to hold it.
  void Convert(const Bitmap& picture, const Rect& block, Bitmap& out, Point to) const;

  PixelFormat Format() const { return format_; }
  // Whether the picture is 8-bit with the grey scale as its palette: index i is (i, i, i).
  bool GreyScale() const { return grey_; }

 private:
  PixelFormat format_;
  bool vector_;
  bool grey_ = false;             // 8-bit with the grey scale as its palette
  std::vector<uint32_t> colors_;  // 0x00RRGGBB read as bytes B, G, R: per index or 5-5-5 value
};

}  // namespace mv
