#pragma once
// The largest pictures the program holds: every reader checks a file's declared size against these
// limits before it allocates pixel memory, and every command that makes a new picture (resizing,
// pasting) stays within them, so no input can claim gigabytes.

#include <cstdint>
#include <stdexcept>
#include <string>

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

// A picture asked for beyond the limits: what() names the size and the limit it passes.
class ImageLimitError : public std::runtime_error {
 public:
  ImageLimitError(int64_t width, int64_t height)
      : std::runtime_error("A " + std::to_string(width) + " x " + std::to_string(height) +
                           " picture is beyond the limits of " + std::to_string(kMaxImageSide) +
                           " pixels a side and " + std::to_string(kMaxImagePixels) + " pixels in all") {}
};

}  // namespace mv
