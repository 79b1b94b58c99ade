// Decoding of the first image of a GIF file with giflib, after the LZW data has been checked.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "codecs/ByteSource.h"
#include "codecs/CodecError.h"
#include "codecs/GifImage.h"
#include "codecs/LzwCheck.h"

namespace mv {

namespace {

int ReadFromSource(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<SourceReader*>(gif->UserData);
  return static_cast<int>(reader->Read(out, static_cast<std::size_t>(std::max(count, 0))));
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(const GifFileType* gif) {
  const char* text = GifErrorString(gif->Error);
  throw CodecError(std::string("GIF: ") + (text ? text : "read error"));
}

bool HasGifSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= 6 &&
         (std::memcmp(bytes.data(), "GIF87a", 6) == 0 || std::memcmp(bytes.data(), "GIF89a", 6) == 0);
}

std::vector<PaletteEntry> PaletteOf(const ColorMapObject& map) {
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < map.ColorCount; ++i) {
    const GifColorType& c = map.Colors[i];
    palette.push_back(PaletteEntry{c.Blue, c.Green, c.Red, 0});
  }
  return palette;
}

// Skips an extension, noting the transparent index of a graphic control extension.
void ReadExtension(GifFileType* gif, std::optional<int>& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) Fail(gif);
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
    GraphicsControlBlock control{};
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
      transparent =
          control.TransparentColor >= 0 ? std::optional<int>(control.TransparentColor) : std::nullopt;
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) Fail(gif);
  }
}

// The rows of the image in the order the file stores them (four passes when interlaced).
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  return order;
}

}  // namespace

void GifImage::LoadFromFile(const std::string& path) {
  Load(ByteSource::OpenFile(path));
}

void GifImage::LoadFromMemory(std::span<const uint8_t> bytes) {
  Load(ByteSource(bytes));
}

void GifImage::Load(const ByteSource& file) {
  if (!HasGifSignature(file.Head(6))) throw CodecError("not a GIF file");
  SourceReader reader(file);
  int error = 0;
  GifHandle gif(DGifOpen(&reader, ReadFromSource, &error));
  if (!gif) {
    const char* text = GifErrorString(error);
    throw CodecError(std::string("GIF: ") + (text ? text : "cannot open"));
  }
  std::optional<int> transparent;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) Fail(gif.get());
    if (record == TERMINATE_RECORD_TYPE) throw CodecError("GIF: file holds no image");
    if (record == EXTENSION_RECORD_TYPE) {
      ReadExtension(gif.get(), transparent);
    } else if (record == IMAGE_DESC_RECORD_TYPE) {
      break;
    }
  }
  if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif.get());
  // giflib has just read the minimum code size byte that starts the image data.
  CheckLzwData(file, reader.Position() - 1);

  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (map == nullptr) throw CodecError("GIF: no colour table");
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0)
    throw CodecError("GIF: empty image");
  const int64_t width = std::max<int64_t>(gif->SWidth, int64_t{frame.Left} + frame.Width);
  const int64_t height = std::max<int64_t>(gif->SHeight, int64_t{frame.Top} + frame.Height);
  CheckImageSize(width, height, limits_);

  Bitmap image(static_cast<int>(width), static_cast<int>(height), PixelFormat::Indexed8);
  image.SetPalette(PaletteOf(*map));
  const int background = gif->SColorMap != nullptr && gif->SBackGroundColor < gif->SColorMap->ColorCount
                             ? gif->SBackGroundColor
                             : 0;
  if (background != 0 || frame.Width != width || frame.Height != height) {
    for (int y = 0; y < image.Height(); ++y)
      std::memset(image.Row(y), background, static_cast<std::size_t>(width));
  }
  for (const int y : RowOrder(frame.Height, frame.Interlace)) {
    if (DGifGetLine(gif.get(), image.Row(frame.Top + y) + frame.Left, frame.Width) == GIF_ERROR)
      Fail(gif.get());
  }
  bitmap_ = std::move(image);
  transparentIndex_ = transparent;
}

}  // namespace mv
