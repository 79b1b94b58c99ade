#include "shell/Bgr24Converter.h"

#include <cstring>

namespace mv {

namespace {

// Every value a pixel of `format` can hold, in a one-row bitmap, so the table takes its colours from
// ColorAt itself.
Bitmap AllValues(const Bitmap& picture) {
  const PixelFormat format = picture.Format();
  if (format == PixelFormat::Rgb555) {
    Bitmap values(1 << 15, 1, format);
    for (int v = 0; v < (1 << 15); ++v) {
      values.Row(0)[2 * v] = static_cast<uint8_t>(v);
      values.Row(0)[2 * v + 1] = static_cast<uint8_t>(v >> 8);
    }
    return values;
  }
  Bitmap values(1 << picture.BitsPerPixel(), 1, format);
  values.SetPalette(picture.Palette());
  for (int i = 0; i < values.Width(); ++i) values.SetIndexAt(i, 0, i);
  return values;
}

uint32_t Packed(ColorRef color) {
  return static_cast<uint32_t>(BlueOf(color)) | static_cast<uint32_t>(GreenOf(color)) << 8 |
         static_cast<uint32_t>(RedOf(color)) << 16;
}

// Stores a packed colour as three bytes; `wide` allows a fourth byte to be overwritten (the next
// pixel's, written right after).
void Store(uint32_t color, uint8_t* dst, bool wide) {
  if (wide) {
    std::memcpy(dst, &color, 4);  // little-endian: B, G, R, 0
  } else {
    dst[0] = static_cast<uint8_t>(color);
    dst[1] = static_cast<uint8_t>(color >> 8);
    dst[2] = static_cast<uint8_t>(color >> 16);
  }
}

// The table index of pixel x in a row of `format`.
unsigned ValueAt(PixelFormat format, const uint8_t* row, int x) {
  switch (format) {
    case PixelFormat::Indexed1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case PixelFormat::Indexed4:
      return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case PixelFormat::Indexed8:
      return row[x];
    default:
      return (row[2 * x] | (row[2 * x + 1] << 8)) & 0x7FFFu;  // 5-5-5: the top bit is unused
  }
}

}  // namespace

Bgr24Converter::Bgr24Converter(const Bitmap& picture) : format_(picture.Format()) {
  if (format_ == PixelFormat::Bgr24 || format_ == PixelFormat::Bgrx32) return;
  const Bitmap values = AllValues(picture);
  colors_.resize(static_cast<std::size_t>(values.Width()));
  for (int v = 0; v < values.Width(); ++v)
    colors_[static_cast<std::size_t>(v)] = Packed(values.ColorAt(v, 0));
}

void Bgr24Converter::Convert(const Bitmap& picture, const Rect& block, Bitmap& out) const {
  for (int y = block.top; y < block.bottom; ++y) {
    const uint8_t* in = picture.Row(y);
    uint8_t* dst = out.Row(y) + static_cast<std::size_t>(block.left) * 3;
    if (format_ == PixelFormat::Bgr24) {
      std::memcpy(dst, in + static_cast<std::size_t>(block.left) * 3,
                  static_cast<std::size_t>(block.Width()) * 3);
    } else if (format_ == PixelFormat::Bgrx32) {
      for (int x = block.left; x < block.right; ++x, dst += 3)
        std::memcpy(dst, in + 4 * static_cast<std::size_t>(x), 3);
    } else {
      for (int x = block.left; x < block.right; ++x, dst += 3)
        Store(colors_[ValueAt(format_, in, x)], dst, x + 1 < block.right);
    }
  }
}

}  // namespace mv
