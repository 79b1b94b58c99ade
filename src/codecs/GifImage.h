#pragma once
// GIF files through giflib. Reading gives the first image of the file on its logical screen;
// writing reduces the bitmap to at most 256 colours with the quantizer and error diffusion.

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

class GifImage {
 public:
  explicit GifImage(ImageLimits limits = {}) : limits_(limits) {}

  // Decodes the first image; throws CodecError when the file is not a GIF file, is corrupt or
  // truncated, has no image, an empty image, no colour table, or exceeds the limits.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> bytes);
  void Load(const ByteSource& file);

  // An 8-bit bitmap with the file's colour table (local before global) as its palette. The bitmap
  // covers the logical screen, enlarged where the image reaches beyond it; the image sits at its
  // offset and the rest of the screen holds the background colour index.
  Bitmap ToBitmap() const& { return bitmap_; }
  Bitmap ToBitmap() && { return std::move(bitmap_); }
  // The transparent palette index of the first image, when its graphic control extension has one.
  std::optional<int> TransparentIndex() const { return transparentIndex_; }

 private:
  ImageLimits limits_;
  Bitmap bitmap_;
  std::optional<int> transparentIndex_;
};

// The GIF file bytes: the image quantized to at most 256 colours (see Quantizer.h); when
// `transparent` is given, that exact colour keeps its own palette entry, which becomes the
// transparent index.
std::vector<uint8_t> EncodeGif(const Bitmap& image, std::optional<ColorRef> transparent);
// EncodeGif written crash-safely; throws CodecError when the file cannot be written.
void WriteGifFile(const std::string& path, const Bitmap& image, std::optional<ColorRef> transparent);

}  // namespace mv
