#include <cmath>

#include "filtering/ColorFilters.h"
#include "filtering/FilterArithmetic.h"

namespace mv {

namespace {

// The deviation of the centre's channel from the window: sqrt(sum of squared differences) / (count - 1).
Extended Deviation(Window window, uint8_t Pixel::*channel) {
  const int64_t centre = window[window.size() / 2]->*channel;
  int64_t squares = 0;
  for (Pixel* p : window) squares += (centre - p->*channel) * (centre - p->*channel);
  return CheckedDivide(std::sqrt(static_cast<Extended>(squares)), static_cast<Extended>(window.size()) - 1);
}

}  // namespace

Pixel TErrorDiffusionFilter::Apply(Window window, std::span<const int32_t> kernel, double divisor,
                                   int32_t) const {
  if (kernel.size() < window.size()) throw RangeError();
  const Extended red = Deviation(window, &Pixel::red);
  const Extended green = Deviation(window, &Pixel::green);
  const Extended blue = Deviation(window, &Pixel::blue);
  for (std::size_t j = 5; j < window.size(); ++j) {
    Pixel& p = *window[j];
    const Extended weight = kernel[j];
    p.red = ClampToByte(weight * red * divisor / 16 + p.red);
    p.green = ClampToByte(weight * green * divisor / 16 + p.green);
    p.blue = ClampToByte(weight * blue * divisor / 16 + p.blue);
  }
  return *window[window.size() / 2];
}

}  // namespace mv
