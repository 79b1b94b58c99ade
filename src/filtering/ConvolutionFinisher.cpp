#include "filtering/ConvolutionFinisher.h"

#include <immintrin.h>

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

// Bytes [0, count rounded down to 32) of clamp(floor((scale * sum + bias) * reciprocal) + offset).
__attribute__((target("avx2"))) int FinishAvx2(const int32_t* sums, int32_t scale, float bias,
                                               float reciprocal, int32_t offset, uint8_t* out, int count) {
  const __m256i scaleV = _mm256_set1_epi32(scale), offsetV = _mm256_set1_epi32(offset);
  const __m256 biasV = _mm256_set1_ps(bias), reciprocalV = _mm256_set1_ps(reciprocal);
  // The packs below interleave their inputs per 128-bit half; this puts the bytes back in order.
  const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  int i = 0;
  for (; i + 32 <= count; i += 32) {
    __m256i q[4];
    for (int k = 0; k < 4; ++k) {
      const __m256i s =
          _mm256_mullo_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums + i + 8 * k)), scaleV);
      const __m256 f = _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(s), biasV), reciprocalV);
      q[k] = _mm256_add_epi32(_mm256_cvttps_epi32(_mm256_floor_ps(f)), offsetV);
    }
    // Saturating packs clamp to 0..255.
    const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(q[0], q[1]), _mm256_packs_epi32(q[2], q[3]));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permutevar8x32_epi32(bytes, order));
  }
  return i;
}

}  // namespace

ConvolutionFinisher::ConvolutionFinisher(double divisor, int32_t offset, int64_t minSum, int64_t maxSum,
                                         int64_t uses)
    : divisor_(divisor), offset_(offset), minSum_(minSum) {
  if (maxSum - minSum < std::min(kLargestTable, std::max<int64_t>(uses, 4096))) {
    table_.resize(static_cast<std::size_t>(maxSum - minSum + 1));
    for (int64_t s = minSum; s <= maxSum; ++s) table_[static_cast<std::size_t>(s - minSum)] = Exact(s);
    const bool integral = std::trunc(divisor) == divisor;
    const bool small = std::max(std::abs(minSum), std::abs(maxSum)) <= kLargestVectorSum;
    if (integral && small && __builtin_cpu_supports("avx2")) {
      bias_ = divisor > 0 ? 0.5f : -0.5f;
      reciprocal_ = static_cast<float>(1 / divisor);
      vectorised_ = VectorRuleMatchesTable(maxSum);
    }
    return;
  }
  // For an integer divisor d with |d| <= 2^31 and |sum| < 2^40, the extended quotient is never
  // rounded across an integer: a quotient that is not an integer lies at least 1/|d| from one, far
  // more than its rounding error. So truncating sum/d + offset equals floor division plus offset.
  const bool integral = std::trunc(divisor) == divisor && std::fabs(divisor) <= kLargestIntegerDivisor;
  const bool moderate = std::max(std::abs(minSum), std::abs(maxSum)) < kLargestIntegerSum;
  if (integral && moderate) integerDivisor_ = static_cast<int64_t>(divisor);
}

int ConvolutionFinisher::FinishVectorised(const int32_t* sums, int32_t scale, uint8_t* out, int count) const {
  return FinishAvx2(sums, scale, bias_, reciprocal_, offset_, out, count);
}

bool ConvolutionFinisher::VectorRuleMatchesTable(int64_t maxSum) const {
  constexpr int kChunk = 4096;
  std::vector<int32_t> sums(kChunk);
  std::vector<uint8_t> bytes(kChunk);
  for (int64_t first = minSum_; first <= maxSum; first += kChunk) {
    // The chunk's sums in order, the last one repeated to fill it.
    for (int i = 0; i < kChunk; ++i)
      sums[static_cast<std::size_t>(i)] = static_cast<int32_t>(std::min(first + i, maxSum));
    FinishAvx2(sums.data(), 1, bias_, reciprocal_, offset_, bytes.data(), kChunk);
    for (int i = 0; i < kChunk; ++i) {
      if (bytes[static_cast<std::size_t>(i)] !=
          table_[static_cast<std::size_t>(sums[static_cast<std::size_t>(i)] - minSum_)])
        return false;
    }
  }
  return true;
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
