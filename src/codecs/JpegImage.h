#pragma once
// JPEG files through libjpeg-turbo: baseline, progressive and arithmetic-coded; greyscale, YCbCr,
// RGB, CMYK and YCCK; restart markers. Writing is 24-bit YCbCr 4:2:0 at a quality 1 ... 100.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codecs/ByteSource.h"
#include "codecs/ImageLimits.h"
#include "platform/Bitmap.h"

namespace mv {

class JpegImage {
 public:
  explicit JpegImage(ImageLimits limits = {}) : limits_(limits) {}

  // Decodes the file; throws CodecError when it is not a JPEG file, is corrupt, exceeds the limits
  // or ends before its first row of blocks. A file cut off later keeps the rows decoded so far and
  // shows the rest in the decoder's neutral grey.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> bytes);
  void Load(const ByteSource& file);

  // Greyscale files give an 8-bit bitmap with a grey palette; all others 24-bit.
  Bitmap ToBitmap() const& { return bitmap_; }
  Bitmap ToBitmap() && { return std::move(bitmap_); }

 private:
  ImageLimits limits_;
  Bitmap bitmap_;
};

// The JPEG file bytes of the image at the given quality; RangeError unless 1 <= quality <= 100.
std::vector<uint8_t> EncodeJpeg(const Bitmap& image, int quality);
// EncodeJpeg written crash-safely; throws CodecError when the file cannot be written.
void WriteJpegFile(const std::string& path, const Bitmap& image, int quality);

}  // namespace mv
