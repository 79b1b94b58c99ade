// Encoding of GIF files with giflib: one image covering the screen, the quantized palette as the
// global colour table, and a graphic control extension when a colour is transparent.

#include <gif_lib.h>

#include <memory>
#include <string>

#include "codecs/CodecError.h"
#include "codecs/FileBytes.h"
#include "codecs/GifImage.h"
#include "codecs/Quantizer.h"

namespace mv {

namespace {

struct Output {
  std::vector<uint8_t> bytes;
};

// A failed allocation is reported to giflib as a short write rather than unwound through it.
int WriteToMemory(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<Output*>(gif->UserData);
  try {
    out->bytes.insert(out->bytes.end(), data, data + count);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return count;
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};
struct MapFreer {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void Fail(int error) {
  const char* text = GifErrorString(error);
  throw CodecError(std::string("GIF: ") + (text ? text : "write error"));
}

// The colour table padded to a power of two, as the format requires.
std::unique_ptr<ColorMapObject, MapFreer> ColorMapOf(const std::vector<PaletteEntry>& palette) {
  int size = 2;
  while (size < static_cast<int>(palette.size())) size *= 2;
  std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(size, nullptr));
  if (!map) throw std::bad_alloc();
  for (std::size_t i = 0; i < palette.size(); ++i)
    map->Colors[i] = GifColorType{palette[i].red, palette[i].green, palette[i].blue};
  return map;
}

std::optional<int> IndexOf(const std::vector<PaletteEntry>& palette, ColorRef color) {
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const PaletteEntry& e = palette[i];
    if (e.red == RedOf(color) && e.green == GreenOf(color) && e.blue == BlueOf(color))
      return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace

std::vector<uint8_t> EncodeGif(const Bitmap& image, std::optional<ColorRef> transparent) {
  if (image.IsEmpty()) throw CodecError("cannot write an empty image");
  if (image.Width() > 65535 || image.Height() > 65535) throw CodecError("image too large for a GIF file");
  const Bitmap indexed = QuantizeTo8Bit(image, transparent);
  const auto map = ColorMapOf(indexed.Palette());
  const std::optional<int> transparentIndex =
      transparent ? IndexOf(indexed.Palette(), *transparent) : std::nullopt;

  Output out;
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, WriteToMemory, &error));
  if (!gif) Fail(error);
  EGifSetGifVersion(gif.get(), transparentIndex.has_value());
  if (EGifPutScreenDesc(gif.get(), image.Width(), image.Height(), 8, 0, map.get()) == GIF_ERROR)
    Fail(gif->Error);
  if (transparentIndex) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = *transparentIndex;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_ERROR)
      Fail(gif->Error);
  }
  if (EGifPutImageDesc(gif.get(), 0, 0, image.Width(), image.Height(), false, nullptr) == GIF_ERROR)
    Fail(gif->Error);
  for (int y = 0; y < indexed.Height(); ++y) {
    if (EGifPutLine(gif.get(), const_cast<GifPixelType*>(indexed.Row(y)), indexed.Width()) == GIF_ERROR)
      Fail(gif->Error);
  }
  // Closing writes the trailer and frees the handle whatever the outcome.
  if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) Fail(error);
  return std::move(out.bytes);
}

void WriteGifFile(const std::string& path, const Bitmap& image, std::optional<ColorRef> transparent) {
  WriteImageFile(path, EncodeGif(image, transparent));
}

}  // namespace mv
