#pragma once
// A width and a height in pixels.

#include <cstdint>

namespace mv {

struct Size {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Size&) const = default;
};

}  // namespace mv
