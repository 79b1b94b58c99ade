#pragma once
// PNG files through libpng: every colour type and bit depth, interlaced or not, with tRNS. Writing
// palette images as palette PNGs and everything else as 24-bit RGB, with the save command's options.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codecs/ByteSource.h"
#include "codecs/ImageLimits.h"
#include "platform/Bitmap.h"
#include "platform/Color.h"

namespace mv {

class PngImage {
 public:
  explicit PngImage(ImageLimits limits = {}) : limits_(limits) {}

  // Decodes the file; throws CodecError when it is not a PNG file, is corrupt or exceeds the limits.
  // A non-interlaced file cut off after some rows keeps those rows (the rest stays zero); a
  // truncated interlaced file, or one that ends before its first row, fails.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> bytes);
  void Load(const ByteSource& file);

  // Palette files and grey files of 1, 4 or 8 bits give an indexed bitmap of that depth (2 bits
  // give 4-bit indexes, 16-bit grey gives 8-bit); RGB gives 24-bit; RGB or grey with alpha gives
  // 32-bit with the alpha in the fourth byte. 16-bit samples are scaled to 8 bits with rounding.
  // A tRNS chunk does not change the pixels.
  Bitmap ToBitmap() const& { return bitmap_; }
  Bitmap ToBitmap() && { return std::move(bitmap_); }

 private:
  ImageLimits limits_;
  Bitmap bitmap_;
};

struct PngWriteOptions {
  int compressionLevel = 9;  // -1 (zlib's default) ... 9
  double gamma = 0.0;        // 0: no gAMA chunk; otherwise the display gamma, stored as its inverse
  bool writeTime = true;     // the current time (UTC) in a tIME chunk
  std::optional<ColorRef> transparent;  // the colour made transparent with a tRNS chunk
  // The row filter, by its PNG filter type: 0 None, 1 Sub, 2 Up, 3 Average, 4 Paeth for every row,
  // or 5 for an adaptive choice per row. 0 (what the save command passes) keeps level 9 fast: zlib's
  // longest searches on filtered photographs take ten times as long; filtering makes photographs
  // about half the size.
  int filterSetting = 0;
};

// The PNG file bytes. RangeError for an option outside its range (level, filter, gamma < 0 or not
// finite). Indexed bitmaps become palette PNGs of the same depth, all others 8-bit RGB (the fourth
// byte of 32-bit pixels is not written).
std::vector<uint8_t> EncodePng(const Bitmap& image, const PngWriteOptions& options);
// EncodePng written crash-safely; throws CodecError when the file cannot be written.
void WritePngFile(const std::string& path, const Bitmap& image, const PngWriteOptions& options);

}  // namespace mv
