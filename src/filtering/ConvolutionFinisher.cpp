#include "filtering/ConvolutionFinisher.h"

#include <algorithm>
#include <cmath>

#include "filtering/FilterArithmetic.h"

namespace mv {

namespace {

constexpr int64_t kLargestTable = int64_t{1} << 22;
constexpr int64_t kLargestIntegerSum = int64_t{1} << 40;
constexpr double kLargestIntegerDivisor = 2147483648.0;  // 2^31

int64_t FloorDivide(int64_t a, int64_t b) {  // b > 0
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace

ConvolutionFinisher::ConvolutionFinisher(double divisor, int32_t offset, int64_t minSum, int64_t maxSum,
                                         int64_t uses)
    : divisor_(divisor), offset_(offset), minSum_(minSum) {
  if (maxSum - minSum < std::min(kLargestTable, std::max<int64_t>(uses, 4096))) {
    table_.resize(static_cast<std::size_t>(maxSum - minSum + 1));
    for (int64_t s = minSum; s <= maxSum; ++s) table_[static_cast<std::size_t>(s - minSum)] = Exact(s);
    return;
  }
  // For an integer divisor d with |d| <= 2^31 and |sum| < 2^40, the extended quotient is never
  // rounded across an integer: a quotient that is not an integer lies at least 1/|d| from one, far
  // more than its rounding error. So truncating sum/d + offset equals floor division plus offset.
  const bool integral = std::trunc(divisor) == divisor && std::fabs(divisor) <= kLargestIntegerDivisor;
  const bool moderate = std::max(std::abs(minSum), std::abs(maxSum)) < kLargestIntegerSum;
  if (integral && moderate) integerDivisor_ = static_cast<int64_t>(divisor);
}

ConvolutionFinisher::Method ConvolutionFinisher::Chosen() const {
  if (!table_.empty()) return Method::Table;
  return integerDivisor_ != 0 ? Method::IntegerDivision : Method::Exact;
}

uint8_t ConvolutionFinisher::ByIntegerDivision(int64_t sum) const {
  const int64_t quotient =
      integerDivisor_ > 0 ? FloorDivide(sum, integerDivisor_) : FloorDivide(-sum, -integerDivisor_);
  return static_cast<uint8_t>(std::clamp<int64_t>(quotient + offset_, 0, 255));
}

uint8_t ConvolutionFinisher::Exact(int64_t sum) const {
  return FinishConvolution(static_cast<double>(sum), divisor_, offset_);
}

}  // namespace mv
