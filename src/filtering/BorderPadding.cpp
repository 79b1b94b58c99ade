#include "filtering/BorderPadding.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace mv {

namespace {

Bitmap Padded(const Bitmap& bitmap, int32_t radius) {
  if (radius < 0) throw std::invalid_argument("negative padding radius");
  if (bitmap.IsEmpty()) throw std::invalid_argument("padding an empty bitmap");
  // Other formats are read through a 24-bit copy; a 24-bit bitmap is read as it is.
  std::optional<Bitmap> converted;
  if (bitmap.Format() != PixelFormat::Bgr24) converted = bitmap.ToBgr24();
  const Bitmap& source = converted ? *converted : bitmap;
  const int w = source.Width(), h = source.Height();
  const int64_t paddedWidth = int64_t{w} + 2 * int64_t{radius},
                paddedHeight = int64_t{h} + 2 * int64_t{radius};
  if (paddedWidth > INT32_MAX || paddedHeight > INT32_MAX) throw std::bad_alloc();
  // Every byte of every row is written below.
  Bitmap result(static_cast<int>(paddedWidth), static_cast<int>(paddedHeight), PixelFormat::Bgr24,
                PixelBuffer::Fill::Unspecified);
  const std::size_t r = static_cast<std::size_t>(radius);
  for (int y = 0; y < result.Height(); ++y) {
    const int sourceY = static_cast<int>(std::clamp<int64_t>(int64_t{y} - radius, 0, h - 1));
    const uint8_t* in = source.Row(sourceY);
    uint8_t* out = result.Row(y);
    std::memcpy(out + 3 * r, in, 3 * static_cast<std::size_t>(w));
    for (std::size_t x = 0; x < r; ++x) {
      std::memcpy(out + 3 * x, in, 3);
      std::memcpy(out + 3 * (r + static_cast<std::size_t>(w) + x), in + 3 * static_cast<std::size_t>(w - 1),
                  3);
    }
  }
  return result;
}

}  // namespace

std::optional<Bitmap> PadBorder(const Bitmap& bitmap, int32_t radius) {
  try {
    return Padded(bitmap, radius);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace mv
