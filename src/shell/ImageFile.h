#pragma once
// Reading an image file with the four decoders tried in a fixed order, whatever the file's name.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Bitmap.h"

namespace mv {

struct DecodedImage {
  Bitmap bitmap;
  int32_t format = 0;  // LoadedFormat: 1 JPEG, 2 BMP, 3 GIF, 4 PNG
};

// JPEG, then BMP, GIF and PNG: the first decoder that reads the file wins. nullopt when none can (or
// the path names no regular file). When a decoder ran out of memory and none succeeded, that is
// reported as std::bad_alloc rather than as an unreadable file.
std::optional<DecodedImage> ReadImageFile(const std::string& path);

}  // namespace mv
