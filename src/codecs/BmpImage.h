#pragma once
// Windows and OS/2 bitmap files: BITMAPCOREHEADER (OS/2 1.x), OS/2 2.x, BITMAPINFOHEADER, V4 and V5;
// 1/4/8/16/24/32 bits per pixel; RLE4, RLE8 and BI_BITFIELDS; top-down and bottom-up rows.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codecs/ByteSource.h"
#include "codecs/ImageLimits.h"
#include "platform/Bitmap.h"

namespace mv {

class BmpImage {
 public:
  explicit BmpImage(ImageLimits limits = {}) : limits_(limits) {}

  // Reads a bitmap file; throws CodecError for anything that is not a readable bitmap file.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> bytes);
  void Load(const ByteSource& file);

  // The pixels in the file's own depth where the Bitmap has it: 1/4/8 bits indexed (palette padded
  // with black to 2^bits entries), 16-bit 5-5-5, 24-bit, 32-bit (the fourth byte as stored). Other
  // bit-field layouts (such as 5-6-5) become 24-bit, or 32-bit for 32-bit files.
  Bitmap ToBitmap() const& { return bitmap_; }
  Bitmap ToBitmap() && { return std::move(bitmap_); }

 private:
  ImageLimits limits_;
  Bitmap bitmap_;
};

// The file bytes of a bitmap in its own pixel format (BITMAPINFOHEADER, uncompressed, bottom-up).
std::vector<uint8_t> EncodeBmp(const Bitmap& image);
// EncodeBmp written crash-safely; throws CodecError when the file cannot be written.
void WriteBmpFile(const std::string& path, const Bitmap& image);

}  // namespace mv
