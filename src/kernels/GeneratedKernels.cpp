#include "kernels/GeneratedKernels.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace mv::kernels {

namespace {

// exp(-(dx^2 + dy^2) / (2n)) * 1000 in 80-bit precision, truncated toward zero.
int32_t GaussianWeight(int32_t n, int32_t i, int32_t j) {
  const int64_t c = n / 2;
  const int64_t squaredDistance = (j - c) * (j - c) + (i - c) * (i - c);
  const long double exponent =
      -static_cast<long double>(squaredDistance) / static_cast<long double>(2 * int64_t{n});
  return static_cast<int32_t>(std::trunc(std::exp(exponent) * 1000.0L));
}

// Half lines: weight c+1 at the centre, one less per step toward the kernel's edge.
int32_t HalfLineWeight(int32_t number, int32_t n, int32_t i, int32_t j) {
  const int32_t c = n / 2;
  const bool middleRow = i == c, middleColumn = j == c, diagonal = i == j, antiDiagonal = j == n - 1 - i;
  switch (number) {
    case 210:
      return middleRow && j >= c ? 2 * c + 1 - j : 0;
    case 211:
      return middleRow && j <= c ? j + 1 : 0;
    case 212:
      return middleColumn && i >= c ? 2 * c + 1 - i : 0;
    case 213:
      return middleColumn && i <= c ? i + 1 : 0;
    case 214:
      return diagonal && j >= c ? 2 * c + 1 - j : 0;
    case 215:
      return diagonal && j <= c ? j + 1 : 0;
    case 216:
      return antiDiagonal && i >= c ? 2 * c + 1 - i : 0;
    case 217:
      return antiDiagonal && i <= c ? i + 1 : 0;
    default:
      return 0;
  }
}

}  // namespace

bool IsGeneratedKernel(int32_t number) {
  return number == 100 || number == 101 || (number >= 200 && number <= 203) ||
         (number >= 210 && number <= 217);
}

int32_t GeneratedWeight(int32_t number, int32_t n, int32_t i, int32_t j) {
  const int32_t c = n / 2;
  switch (number) {
    case 100:
      return 1;
    case 101:
      return GaussianWeight(n, i, j);
    case 200:
      return i == c ? 1 : 0;
    case 201:
      return j == c ? 1 : 0;
    case 202:
      return i == j ? 1 : 0;
    case 203:
      return j == n - 1 - i ? 1 : 0;
    default:
      return HalfLineWeight(number, n, i, j);
  }
}

std::optional<int32_t> FillGeneratedKernel(int32_t number, int32_t n, std::span<int32_t> weights) {
  // Computed before anything is written, so a failure leaves the array untouched.
  int64_t sum = 0;
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) sum += GeneratedWeight(number, n, i, j);
  }
  const int64_t divisor = number == 100 ? int64_t{n} * n : sum;
  if (divisor <= 0 || divisor > std::numeric_limits<int32_t>::max()) return std::nullopt;
  std::size_t index = 0;
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) weights[index++] = GeneratedWeight(number, n, i, j);
  }
  return static_cast<int32_t>(divisor);
}

}  // namespace mv::kernels
