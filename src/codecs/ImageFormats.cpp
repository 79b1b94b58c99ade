#include "codecs/ImageFormats.h"

#include <array>

#include "codecs/BmpImage.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"

namespace mv {

namespace {

template <typename Reader>
Bitmap Decode(const ByteSource& file) {
  Reader reader;
  reader.Load(file);
  return std::move(reader).ToBitmap();
}

void EncodeJpegFile(const std::string& path, const Bitmap& image, const EncodeOptions& options) {
  WriteJpegFile(path, image, options.jpegQuality);
}
void EncodeBmpFile(const std::string& path, const Bitmap& image, const EncodeOptions&) {
  WriteBmpFile(path, image);
}
void EncodeGifFile(const std::string& path, const Bitmap& image, const EncodeOptions& options) {
  WriteGifFile(path, image, options.gifTransparent);
}
void EncodePngFile(const std::string& path, const Bitmap& image, const EncodeOptions& options) {
  WritePngFile(path, image, options.png);
}

constexpr std::array<ImageFormat, 4> kFormats = {{
    {kFormatJpeg, "JPEG", ".jpg", Decode<JpegImage>, EncodeJpegFile},
    {kFormatBmp, "BMP", ".bmp", Decode<BmpImage>, EncodeBmpFile},
    {kFormatGif, "GIF", ".gif", Decode<GifImage>, EncodeGifFile},
    {kFormatPng, "PNG", ".png", Decode<PngImage>, EncodePngFile},
}};

}  // namespace

std::span<const ImageFormat> ImageFormats() {
  return kFormats;
}

const ImageFormat* FindImageFormat(int32_t id) {
  for (const ImageFormat& format : kFormats) {
    if (format.id == id) return &format;
  }
  return nullptr;
}

}  // namespace mv
