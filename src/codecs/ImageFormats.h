#pragma once
// The image file formats in one table: the number a picture's format is known by (LoadedFormat,
// also the save dialog's filter index), the format's name, its reader and its writer. Reading a
// file whatever its name tries the readers in the table's order; saving writes with the writer of
// the format chosen.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codecs/ByteSource.h"
#include "codecs/PngImage.h"
#include "platform/Bitmap.h"
#include "platform/Color.h"

namespace mv {

// LoadedFormat values: the ids of the table; 0 for a picture that came from no file.
enum : int32_t { kFormatNone = 0, kFormatJpeg = 1, kFormatBmp = 2, kFormatGif = 3, kFormatPng = 4 };

// What the writers take beyond the bitmap; each format reads its own fields.
struct EncodeOptions {
  int jpegQuality = 75;                    // JPEG: 1 ... 100 (RangeError otherwise)
  std::optional<ColorRef> gifTransparent;  // GIF: the colour kept as the transparent palette entry
  PngWriteOptions png;                     // PNG: the encoder settings, transparency included
};

struct ImageFormat {
  int32_t id;
  std::string_view name;       // "JPEG", "BMP", "GIF", "PNG"
  std::string_view extension;  // the usual file name ending: ".jpg", ".bmp", ".gif", ".png"
  // The picture in the file; CodecError when the file is not of this format or cannot be read,
  // std::bad_alloc when its pixels do not fit in memory.
  Bitmap (*decode)(const ByteSource& file);
  // Writes `image` to `path` crash-safely (see WriteImageFile); CodecError when it cannot.
  void (*encode)(const std::string& path, const Bitmap& image, const EncodeOptions& options);
};

// JPEG, BMP, GIF and PNG with the ids 1 to 4, in the order a file's reader is looked for.
std::span<const ImageFormat> ImageFormats();
// The format with that id; nullptr for any other number (kFormatNone among them).
const ImageFormat* FindImageFormat(int32_t id);

}  // namespace mv
