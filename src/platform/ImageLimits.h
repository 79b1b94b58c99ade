#pragma once
// The largest pictures the program holds: every reader checks a file's declared size against these
// limits before it allocates pixel memory, and every command that makes a new picture (resizing,
// pasting) stays within them, so no input can claim gigabytes.

#include <cstdint>

namespace mv {

// 256 megapixels (256 x 2^20).
inline constexpr uint64_t kMaxImagePixels = uint64_t{256} << 20;
inline constexpr int32_t kMaxImageSide = 65535;

// Whether a picture of width x height (any values; the product is formed in 64 bits) is within the
// limits and has pixels.
constexpr bool WithinImageLimits(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxImagePixels;
}

}  // namespace mv
