#pragma once
// Reading an image file with the readers of the format table tried in their order, whatever the
// file's name.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Bitmap.h"

namespace mv {

struct DecodedImage {
  Bitmap bitmap;
  int32_t format = 0;  // the id of the format that read it (LoadedFormat)
};

// JPEG, then BMP, GIF and PNG: the first reader that reads the file wins. nullopt when none can (or
// the path names no regular file). When a reader ran out of memory and none succeeded, that is
// reported as its std::bad_alloc (an OutOfMemoryError naming the picture's size) rather than as an
// unreadable file.
std::optional<DecodedImage> ReadImageFile(const std::string& path);

}  // namespace mv
