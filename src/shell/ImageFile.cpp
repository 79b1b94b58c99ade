#include "shell/ImageFile.h"

#include <sys/stat.h>

#include <new>

#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PngImage.h"
#include "shell/WorkingImage.h"

namespace mv {

namespace {

template <typename Decoder>
std::optional<Bitmap> TryDecoder(const std::string& path, bool& outOfMemory) {
  try {
    Decoder decoder;
    decoder.LoadFromFile(path);
    return std::move(decoder).ToBitmap();
  } catch (const CodecError&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
    return std::nullopt;
  }
}

}  // namespace

std::optional<DecodedImage> ReadImageFile(const std::string& path) {
  // Only regular files: a folder cannot be read and a named pipe would wait forever.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  bool outOfMemory = false;
  if (auto bitmap = TryDecoder<JpegImage>(path, outOfMemory))
    return DecodedImage{std::move(*bitmap), kFormatJpeg};
  if (auto bitmap = TryDecoder<BmpImage>(path, outOfMemory))
    return DecodedImage{std::move(*bitmap), kFormatBmp};
  if (auto bitmap = TryDecoder<GifImage>(path, outOfMemory))
    return DecodedImage{std::move(*bitmap), kFormatGif};
  if (auto bitmap = TryDecoder<PngImage>(path, outOfMemory))
    return DecodedImage{std::move(*bitmap), kFormatPng};
  if (outOfMemory) throw std::bad_alloc();
  return std::nullopt;
}

}  // namespace mv
