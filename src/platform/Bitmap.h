#pragma once
// An in-memory raster in one of the device-independent pixel formats: 1/4/8-bit indexed with a
// palette, 16-bit 5-5-5, 24-bit BGR and 32-bit BGRX. Rows are stored top-down, each padded to a
// multiple of four bytes as device-independent bitmaps are. A Bitmap is a value: copies are deep.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Color.h"
#include "platform/OutOfMemory.h"
#include "platform/PixelBuffer.h"

namespace mv {

enum class PixelFormat { Indexed1, Indexed4, Indexed8, Rgb555, Bgr24, Bgrx32 };

int BitsPerPixel(PixelFormat format);
bool IsIndexed(PixelFormat format);

struct PaletteEntry {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
  bool operator==(const PaletteEntry&) const = default;
};

class Bitmap {
 public:
  Bitmap() = default;
  // Zero-filled pixels. An indexed bitmap gets a palette of 2^bits entries: black and white for
  // 1 bit, otherwise all black until SetPalette. Throws OutOfMemoryError (a std::bad_alloc naming
  // the size) for pixels that cannot be held and std::invalid_argument for a negative side.
  Bitmap(int width, int height, PixelFormat format = PixelFormat::Bgr24);
  // The same with pixels the caller writes in full before reading any (a conversion, a copy, a
  // filter's output): with PixelBuffer::Fill::Unspecified they may hold an earlier bitmap's bytes,
  // which saves clearing reused memory. The padding at the end of each row is zero either way.
  // PixelBuffer::Fill::ZeroPrepared gives zero pixels whose memory is present at once.
  Bitmap(int width, int height, PixelFormat format, PixelBuffer::Fill fill);

  // Copies throw OutOfMemoryError when the pixels cannot be had. A copy into a bitmap whose pixel
  // memory has the size needed reuses that memory; when a copy fails, the bitmap it was to replace
  // is left exactly as it was.
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&&) noexcept = default;
  Bitmap& operator=(Bitmap&&) noexcept = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return mv::BitsPerPixel(format_); }
  std::size_t Stride() const { return stride_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }

  // Row y (0 = top). No bounds check beyond a debug assertion.
  uint8_t* Row(int y) { return pixels_.Data() + static_cast<std::size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return pixels_.Data() + static_cast<std::size_t>(y) * stride_; }

  const std::vector<PaletteEntry>& Palette() const { return palette_; }
  // Indexed formats only; the palette may be shorter than 2^bits (indexes past it read as black).
  void SetPalette(std::vector<PaletteEntry> palette);

  // The pixel's colour in any format (indexed pixels through the palette).
  ColorRef ColorAt(int x, int y) const;
  // Direct formats only (555, 24, 32); std::logic_error for indexed bitmaps.
  void SetColorAt(int x, int y, ColorRef color);
  // The raw index of an indexed pixel.
  int IndexAt(int x, int y) const;
  void SetIndexAt(int x, int y, int index);

  // A copy in the requested format. Palettes expand to their colours; 5-bit channels widen to
  // 8 bits by repeating their top bits (31 -> 255). Converting to an indexed format is not
  // offered here (that needs a quantizer).
  Bitmap ConvertedTo(PixelFormat format) const;
  Bitmap ToBgr24() const { return ConvertedTo(PixelFormat::Bgr24); }

  // The width x height area whose top-left is (left, top), in the same format and palette. Parts of
  // the area outside this bitmap stay zero.
  Bitmap CopyRegion(int left, int top, int width, int height) const;

  // Same size, format, palette and pixels (row padding ignored).
  bool operator==(const Bitmap& other) const;

 private:
  void ClearRowPadding();
  // The error for pixels of this bitmap's size that could not be had.
  OutOfMemoryError MemoryError() const;

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Bgr24;
  std::size_t stride_ = 0;
  PixelBuffer pixels_;
  std::vector<PaletteEntry> palette_;
};

}  // namespace mv
