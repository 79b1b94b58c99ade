#include "platform/OutOfMemory.h"

namespace mv {

std::string PictureMemoryText(int64_t width, int64_t height, int bitsPerPixel, uint64_t bytes) {
  const uint64_t mebibytes = (bytes + (uint64_t{1} << 20) - 1) >> 20;
  return "Out of memory for a " + std::to_string(width) + " x " + std::to_string(height) + " picture of " +
         std::to_string(bitsPerPixel) + " bits (" + std::to_string(mebibytes) + " MiB)";
}

}  // namespace mv
