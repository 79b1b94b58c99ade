#include "platform/Bitmap.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>
#include <stdexcept>

namespace mv {

namespace {

ColorRef FromPalette(const std::vector<PaletteEntry>& palette, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= palette.size()) return colors::kBlack;
  const PaletteEntry& e = palette[static_cast<std::size_t>(index)];
  return MakeColor(e.red, e.green, e.blue);
}

uint8_t Widen5(unsigned v) {
  return static_cast<uint8_t>((v << 3) | (v >> 2));
}

// Writes one pixel of a direct format at p.
void StoreDirect(PixelFormat format, uint8_t* p, ColorRef c) {
  switch (format) {
    case PixelFormat::Rgb555: {
      const unsigned v = ((RedOf(c) >> 3u) << 10) | ((GreenOf(c) >> 3u) << 5) | (BlueOf(c) >> 3u);
      p[0] = static_cast<uint8_t>(v & 0xFF);
      p[1] = static_cast<uint8_t>(v >> 8);
      break;
    }
    case PixelFormat::Bgrx32:
      p[3] = 0;
      [[fallthrough]];
    case PixelFormat::Bgr24:
      p[0] = BlueOf(c);
      p[1] = GreenOf(c);
      p[2] = RedOf(c);
      break;
    default:
      throw std::logic_error("direct colour store on an indexed bitmap");
  }
}

}  // namespace

int BitsPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Indexed1:
      return 1;
    case PixelFormat::Indexed4:
      return 4;
    case PixelFormat::Indexed8:
      return 8;
    case PixelFormat::Rgb555:
      return 16;
    case PixelFormat::Bgr24:
      return 24;
    case PixelFormat::Bgrx32:
      return 32;
  }
  return 0;
}

bool IsIndexed(PixelFormat format) {
  return BitsPerPixel(format) <= 8;
}

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : Bitmap(width, height, format, PixelBuffer::Fill::Zero) {}

Bitmap::Bitmap(int width, int height, PixelFormat format, PixelBuffer::Fill fill)
    : width_(width), height_(height), format_(format) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative bitmap size");
  const uint64_t bitsPerRow = static_cast<uint64_t>(width) * static_cast<uint64_t>(mv::BitsPerPixel(format));
  stride_ = static_cast<std::size_t>(((bitsPerRow + 31) / 32) * 4);
  const uint64_t bytes = static_cast<uint64_t>(stride_) * static_cast<uint64_t>(height);
  try {
    if (bytes > (uint64_t{1} << 40)) throw std::bad_alloc();
    pixels_ = PixelBuffer(static_cast<std::size_t>(bytes), fill);
  } catch (const std::bad_alloc&) {
    throw MemoryError();
  }
  if (fill == PixelBuffer::Fill::Unspecified) ClearRowPadding();
  if (IsIndexed(format)) {
    palette_.assign(std::size_t{1} << mv::BitsPerPixel(format), PaletteEntry{});
    if (format == PixelFormat::Indexed1) palette_[1] = PaletteEntry{255, 255, 255, 0};
  }
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_), height_(other.height_), format_(other.format_), stride_(other.stride_) {
  try {
    pixels_ = PixelBuffer(other.pixels_);
  } catch (const std::bad_alloc&) {
    throw other.MemoryError();
  }
  palette_ = other.palette_;
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this == &other) return *this;
  // Whatever can fail comes first; the pixel buffer's own assignment changes it only on success.
  std::vector<PaletteEntry> palette = other.palette_;
  try {
    pixels_ = other.pixels_;
  } catch (const std::bad_alloc&) {
    throw other.MemoryError();
  }
  palette_.swap(palette);
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
  stride_ = other.stride_;
  return *this;
}

OutOfMemoryError Bitmap::MemoryError() const {
  return OutOfMemoryError(PictureMemoryText(width_, height_, BitsPerPixel(), uint64_t{stride_} * height_));
}

void Bitmap::ClearRowPadding() {
  // From the byte holding the last pixel's final bits (a partly used byte included) to the row's end.
  const uint64_t usedBits = static_cast<uint64_t>(width_) * static_cast<uint64_t>(BitsPerPixel());
  const auto firstUnused = static_cast<std::size_t>(usedBits / 8);
  if (firstUnused == stride_) return;
  for (int y = 0; y < height_; ++y) std::memset(Row(y) + firstUnused, 0, stride_ - firstUnused);
}

void Bitmap::SetPalette(std::vector<PaletteEntry> palette) {
  if (!IsIndexed(format_)) throw std::logic_error("palette on a direct-colour bitmap");
  palette_ = std::move(palette);
}

int Bitmap::IndexAt(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const uint8_t* row = Row(y);
  switch (format_) {
    case PixelFormat::Indexed1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case PixelFormat::Indexed4:
      return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    case PixelFormat::Indexed8:
      return row[x];
    default:
      throw std::logic_error("index of a direct-colour pixel");
  }
}

void Bitmap::SetIndexAt(int x, int y, int index) {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  uint8_t* row = Row(y);
  switch (format_) {
    case PixelFormat::Indexed1: {
      const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
      break;
    }
    case PixelFormat::Indexed4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (index & 0x0F))
                  : static_cast<uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
      break;
    }
    case PixelFormat::Indexed8:
      row[x] = static_cast<uint8_t>(index);
      break;
    default:
      throw std::logic_error("index store on a direct-colour pixel");
  }
}

ColorRef Bitmap::ColorAt(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const uint8_t* row = Row(y);
  switch (format_) {
    case PixelFormat::Rgb555: {
      const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
      return MakeColor(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31));
    }
    case PixelFormat::Bgr24:
      return MakeColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case PixelFormat::Bgrx32:
      return MakeColor(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    default:
      return FromPalette(palette_, IndexAt(x, y));
  }
}

void Bitmap::SetColorAt(int x, int y, ColorRef color) {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const std::size_t offset = static_cast<std::size_t>(x) * static_cast<std::size_t>(BitsPerPixel() / 8);
  StoreDirect(format_, Row(y) + offset, color);
}

Bitmap Bitmap::ConvertedTo(PixelFormat format) const {
  if (IsIndexed(format)) throw std::logic_error("conversion to an indexed format needs a quantizer");
  if (format == format_) return *this;
  Bitmap result(width_, height_, format, PixelBuffer::Fill::Unspecified);  // every pixel is stored
  const int outBytes = mv::BitsPerPixel(format) / 8;
  if (format_ == PixelFormat::Indexed8) {
    // One table lookup per pixel: the common case of palette images.
    std::vector<ColorRef> table(256, colors::kBlack);
    for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = FromPalette(palette_, i);
    for (int y = 0; y < height_; ++y) {
      const uint8_t* in = Row(y);
      uint8_t* out = result.Row(y);
      for (int x = 0; x < width_; ++x) StoreDirect(format, out + x * outBytes, table[in[x]]);
    }
    return result;
  }
  for (int y = 0; y < height_; ++y) {
    uint8_t* out = result.Row(y);
    for (int x = 0; x < width_; ++x) StoreDirect(format, out + x * outBytes, ColorAt(x, y));
  }
  return result;
}

Bitmap Bitmap::CopyRegion(int left, int top, int width, int height) const {
  const int x0 = std::max(left, 0), x1 = std::min(left + width, width_);
  const int y0 = std::max(top, 0), y1 = std::min(top + height, height_);
  // Whole bytes copied over the whole area need no clearing first.
  const bool coversAll =
      x0 == left && y0 == top && x1 - x0 == width && y1 - y0 == height && BitsPerPixel() >= 8;
  Bitmap result(width, height, format_, coversAll ? PixelBuffer::Fill::Unspecified : PixelBuffer::Fill::Zero);
  result.palette_ = palette_;
  if (x0 >= x1 || y0 >= y1) return result;
  const int bpp = BitsPerPixel();
  for (int y = y0; y < y1; ++y) {
    if (bpp >= 8) {
      const std::size_t bytes = static_cast<std::size_t>(bpp / 8);
      std::memcpy(result.Row(y - top) + static_cast<std::size_t>(x0 - left) * bytes,
                  Row(y) + static_cast<std::size_t>(x0) * bytes, static_cast<std::size_t>(x1 - x0) * bytes);
    } else {
      for (int x = x0; x < x1; ++x) result.SetIndexAt(x - left, y - top, IndexAt(x, y));
    }
  }
  return result;
}

bool Bitmap::operator==(const Bitmap& other) const {
  if (width_ != other.width_ || height_ != other.height_ || format_ != other.format_) return false;
  if (palette_ != other.palette_) return false;
  const uint64_t usedBits = static_cast<uint64_t>(width_) * static_cast<uint64_t>(BitsPerPixel());
  const std::size_t fullBytes = static_cast<std::size_t>(usedBits / 8);
  const unsigned tailBits = static_cast<unsigned>(usedBits % 8);
  for (int y = 0; y < height_; ++y) {
    if (std::memcmp(Row(y), other.Row(y), fullBytes) != 0) return false;
    if (tailBits != 0) {
      const uint8_t mask = static_cast<uint8_t>(0xFF00 >> tailBits);
      if ((Row(y)[fullBytes] & mask) != (other.Row(y)[fullBytes] & mask)) return false;
    }
  }
  return true;
}

}  // namespace mv
