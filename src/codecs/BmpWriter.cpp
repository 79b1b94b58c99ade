// Writing of bitmap files in the bitmap's own pixel format, bottom-up with a BITMAPINFOHEADER.

#include <algorithm>
#include <cstring>

#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"
#include "codecs/FileBytes.h"

namespace mv {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Bitmap& image) {
  if (image.IsEmpty()) throw CodecError("cannot write an empty image");
  const bool indexed = IsIndexed(image.Format());
  const std::size_t paletteCount =
      indexed ? std::min<std::size_t>(image.Palette().size(), 1u << image.BitsPerPixel()) : 0;
  const uint64_t headers = 14 + 40 + 4 * paletteCount;
  const uint64_t pixelBytes = static_cast<uint64_t>(image.Stride()) * static_cast<uint64_t>(image.Height());
  if (headers + pixelBytes > 0xFFFFFFFFu) throw CodecError("image too large for a bitmap file");

  std::vector<uint8_t> out;
  out.reserve(static_cast<std::size_t>(headers + pixelBytes));
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(headers + pixelBytes));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(headers));
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.Width()));
  Put32(out, static_cast<uint32_t>(image.Height()));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(image.BitsPerPixel()));
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<uint32_t>(pixelBytes));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(paletteCount));
  Put32(out, 0);
  for (std::size_t i = 0; i < paletteCount; ++i) {
    const PaletteEntry& e = image.Palette()[i];
    out.insert(out.end(), {e.blue, e.green, e.red, 0});
  }
  // Bitmap rows and file rows share the four-byte padding, so each row is one copy.
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(pixelBytes));
  for (int y = 0; y < image.Height(); ++y) {
    std::memcpy(out.data() + start + static_cast<std::size_t>(image.Height() - 1 - y) * image.Stride(),
                image.Row(y), image.Stride());
  }
  return out;
}

void WriteBmpFile(const std::string& path, const Bitmap& image) {
  WriteImageFile(path, EncodeBmp(image));
}

}  // namespace mv
