#include <stdexcept>

#include "filtering/ColorFilters.h"

namespace mv {

Pixel TMozaicFilter::Apply(Window window, std::span<const int32_t>, double, int32_t) const {
  if (window.empty() || window[0] == nullptr)
    throw std::invalid_argument("mosaic window without its first pixel");
  const Pixel fill = *window[0];
  for (Pixel* p : window) {
    if (p != nullptr) *p = fill;
  }
  return fill;
}

}  // namespace mv
