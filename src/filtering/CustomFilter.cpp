#include "filtering/ColorFilters.h"
#include "filtering/FilterArithmetic.h"

namespace mv {

Pixel TCustomFilter::Apply(Window window, std::span<const int32_t> kernel, double divisor,
                           int32_t parameter) const {
  if (kernel.size() < window.size()) throw RangeError();
  double red = 0, green = 0, blue = 0;
  for (std::size_t i = 0; i < window.size(); ++i) {
    const Pixel& p = *window[i];
    const int64_t weight = kernel[i];
    red += CheckedInt32(p.red * weight);
    green += CheckedInt32(p.green * weight);
    blue += CheckedInt32(p.blue * weight);
  }
  Pixel out;
  out.red = FinishConvolution(red, divisor, parameter);
  out.green = FinishConvolution(green, divisor, parameter);
  out.blue = FinishConvolution(blue, divisor, parameter);
  return out;
}

}  // namespace mv
