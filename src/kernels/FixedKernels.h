#pragma once
// The fixed kernels of the library: 3x3 kernels (9 weights) and pairs of 3x3 kernels for the
// two-direction edge filters (18 weights: the horizontal difference first, then the vertical one).

#include <cstdint>
#include <span>

namespace mv::kernels {

struct FixedKernel {
  int32_t number;
  std::span<const int32_t> weights;  // 9 or 18 elements, row by row
  int32_t divisor;
};

// The fixed kernel with this number, or nullptr when the number is not a fixed kernel.
const FixedKernel* FindFixedKernel(int32_t number);

}  // namespace mv::kernels
