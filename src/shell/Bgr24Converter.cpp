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

void StoreThree(uint32_t color, uint8_t* dst) {
  dst[0] = static_cast<uint8_t>(color);
  dst[1] = static_cast<uint8_t>(color >> 8);
  dst[2] = static_cast<uint8_t>(color >> 16);
}

// Pixels [left, right) of one row: colorAt(x) gives pixel x as 0x00RRGGBB. Every pixel but the last is
// stored as four bytes (little-endian B, G, R, 0), the fourth overwritten by the next pixel.
template <typename ColorAt>
void ConvertRow(int left, int right, uint8_t* dst, const ColorAt& colorAt) {
  int x = left;
  for (; x + 1 < right; ++x, dst += 3) {
    const uint32_t color = colorAt(x);
    std::memcpy(dst, &color, 4);
  }
  if (x < right) StoreThree(colorAt(x), dst);
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
  const uint32_t* colors = colors_.data();
  for (int y = block.top; y < block.bottom; ++y) {
    const uint8_t* in = picture.Row(y);
    uint8_t* dst = out.Row(y) + static_cast<std::size_t>(block.left) * 3;
    switch (format_) {
      case PixelFormat::Bgr24:
        std::memcpy(dst, in + static_cast<std::size_t>(block.left) * 3,
                    static_cast<std::size_t>(block.Width()) * 3);
        break;
      case PixelFormat::Bgrx32:
        ConvertRow(block.left, block.right, dst, [in](int x) {
          uint32_t color;
          std::memcpy(&color, in + 4 * static_cast<std::size_t>(x), 4);
          return color & 0xFFFFFFu;
        });
        break;
      case PixelFormat::Rgb555:  // the top bit is unused
        ConvertRow(block.left, block.right, dst,
                   [in, colors](int x) { return colors[(in[2 * x] | (in[2 * x + 1] << 8)) & 0x7FFF]; });
        break;
      case PixelFormat::Indexed8:
        ConvertRow(block.left, block.right, dst, [in, colors](int x) { return colors[in[x]]; });
        break;
      case PixelFormat::Indexed4:
        ConvertRow(block.left, block.right, dst,
                   [in, colors](int x) { return colors[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F]; });
        break;
      case PixelFormat::Indexed1:
        ConvertRow(block.left, block.right, dst,
                   [in, colors](int x) { return colors[(in[x >> 3] >> (7 - (x & 7))) & 1]; });
        break;
    }
  }
}

}  // namespace mv
