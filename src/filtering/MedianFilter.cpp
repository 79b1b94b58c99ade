#include <algorithm>
#include <array>
#include <vector>

#include "filtering/ColorFilters.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

int Brightness(const Pixel& p) {
  return p.red + p.green + p.blue;
}

// The k-th smallest brightness of the window; `scratch` holds at least window.size() values.
int RankedBrightness(Window window, std::size_t k, std::span<int> scratch) {
  for (std::size_t i = 0; i < window.size(); ++i) scratch[i] = Brightness(*window[i]);
  const auto first = scratch.begin(), last = scratch.begin() + static_cast<std::ptrdiff_t>(window.size());
  std::nth_element(first, first + static_cast<std::ptrdiff_t>(k), last);
  return scratch[k];
}

}  // namespace

Pixel TMedianFilter::Apply(Window window, std::span<const int32_t>, double divisor, int32_t) const {
  const int64_t k = TruncTowardZero(divisor);
  if (k < 0 || k >= static_cast<int64_t>(window.size())) throw RangeError();
  // Windows up to 15 x 15 sort on the stack; larger ones need the heap.
  constexpr std::size_t kStackValues = 225;
  int rank;
  if (window.size() <= kStackValues) {
    std::array<int, kStackValues> scratch;
    rank = RankedBrightness(window, static_cast<std::size_t>(k), scratch);
  } else {
    std::vector<int> scratch(window.size());
    rank = RankedBrightness(window, static_cast<std::size_t>(k), scratch);
  }
  for (Pixel* p : window) {
    if (Brightness(*p) == rank) return *p;
  }
  return *window[window.size() > 4 ? 4 : 0];  // not reached: the rank is one of the values
}

}  // namespace mv
