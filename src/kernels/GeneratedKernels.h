#pragma once
// The generated square kernels of side N: 100 (box), 101 (Gaussian with variance N), 200-203 (lines
// through the centre) and 210-217 (half lines whose weight falls from the centre outward).

#include <cstdint>
#include <optional>
#include <span>

namespace mv::kernels {

bool IsGeneratedKernel(int32_t number);

// The weight at row i, column j (0 <= i, j < n) of generated kernel `number`.
int32_t GeneratedWeight(int32_t number, int32_t n, int32_t i, int32_t j);

// Fills the n*n elements of `weights` (row by row) and returns the divisor: n*n for the box, the sum
// of the weights otherwise. Nothing (and no write) when the divisor does not fit 32 bits or is 0.
// Requires n >= 1 and weights.size() == n*n.
std::optional<int32_t> FillGeneratedKernel(int32_t number, int32_t n, std::span<int32_t> weights);

}  // namespace mv::kernels
