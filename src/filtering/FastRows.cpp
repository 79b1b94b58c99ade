// Chooses a fast producer when the pass recognises the filter and kernel.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "filtering/ColorFilters.h"
#include "filtering/FastRows.h"
#include "platform/Numbers.h"

namespace mv {

namespace {

// Products of a weight with a channel value that cannot overflow 32 bits, so the generic rule
// raises nothing for them.
constexpr int64_t kLargestSafeWeight = INT32_MAX / 255;

std::optional<RowProducer> ConvolutionRows(const PassContext& pass) {
  const std::size_t taps = static_cast<std::size_t>(pass.Side()) * static_cast<std::size_t>(pass.Side());
  // A zero or non-finite divisor, or a short kernel, takes the generic rule and its errors.
  if (pass.kernel.size() < taps || pass.divisor == 0 || !std::isfinite(pass.divisor)) return std::nullopt;
  const auto weights = pass.kernel.first(taps);
  int64_t positive = 0, negative = 0, largest = 0;
  std::size_t nonZero = 0;
  for (int32_t w : weights) {
    (w > 0 ? positive : negative) += w;
    largest = std::max<int64_t>(largest, std::abs(int64_t{w}));
    if (w != 0) ++nonZero;
  }
  if (largest > kLargestSafeWeight) return std::nullopt;
  const int64_t channelValues = 3 * int64_t{pass.output.Width()} * pass.output.Height();
  auto finish = std::make_shared<const ConvolutionFinisher>(pass.divisor, pass.parameter, 255 * negative,
                                                            255 * positive, channelValues);
  const bool allEqual =
      std::all_of(weights.begin(), weights.end(), [&](int32_t w) { return w == weights[0]; });
  const bool boxFits = allEqual && int64_t{255} * static_cast<int64_t>(taps) <= INT32_MAX;
  const bool directFits = largest <= INT16_MAX && 255 * (positive - negative) <= INT32_MAX;
  // Running sums cost the same for any size; below 7 x 7 the direct sum is faster.
  if (boxFits && (pass.Side() >= 7 || !directFits)) return BoxSumRows(pass, weights[0], finish);
  // Line kernels (motion blur, wind) touch a few taps of a large square.
  if (directFits && nonZero * 4 <= taps) return SparseConvolutionRows(pass, finish);
  if (directFits) return DirectConvolutionRows(pass, finish);
  return std::nullopt;
}

std::optional<RowProducer> RankRows(const PassContext& pass) {
  if (pass.radius != 1 || !std::isfinite(pass.divisor)) return std::nullopt;
  const Extended rank = std::trunc(static_cast<Extended>(pass.divisor));
  if (rank < 0 || rank > 8) return std::nullopt;  // the generic rule reports the range error
  return MedianRows(pass, static_cast<int>(rank));
}

}  // namespace

std::optional<RowProducer> FastRows(const PassContext& pass) {
  if (dynamic_cast<const TCustomFilter*>(&pass.filter) != nullptr) return ConvolutionRows(pass);
  if (dynamic_cast<const TMedianFilter*>(&pass.filter) != nullptr) return RankRows(pass);
  return std::nullopt;
}

bool ReadsOnlyThroughWindow(const TColorFilter& filter) {
  return dynamic_cast<const TCustomFilter*>(&filter) != nullptr ||
         dynamic_cast<const TLineArtFilter*>(&filter) != nullptr ||
         dynamic_cast<const TMedianFilter*>(&filter) != nullptr;
}

}  // namespace mv
