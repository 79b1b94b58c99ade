// The one export of mvfilters.so: kernels by number.
//
// `weights` points at element 0 of the caller's counted array (see MaskArray.h): the element count
// is weights[-1], the caller's reference count weights[-2]. The answer is the kernel's divisor, or 0
// with nothing written when the number is unknown or the array does not have the length the kernel
// needs. Generated kernels other than the box are written only when the array holds at least N*N
// elements, so a short array is never written past its end.

#include <algorithm>
#include <cstdint>
#include <span>

#include "kernels/FixedKernels.h"
#include "kernels/GeneratedKernels.h"

namespace {

// Holds one reference to the caller's array for the length of the call.
class ReferenceHold {
 public:
  explicit ReferenceHold(int32_t* weights) : refCount_(weights - 2) { ++*refCount_; }
  ~ReferenceHold() { --*refCount_; }
  ReferenceHold(const ReferenceHold&) = delete;
  ReferenceHold& operator=(const ReferenceHold&) = delete;

 private:
  int32_t* refCount_;
};

int32_t FillFixed(const mv::kernels::FixedKernel& kernel, int32_t* weights, int32_t count) {
  if (count != static_cast<int32_t>(kernel.weights.size())) return 0;
  std::copy(kernel.weights.begin(), kernel.weights.end(), weights);
  return kernel.divisor;
}

int32_t FillGenerated(int32_t number, int32_t n, int32_t* weights, int32_t count) {
  if (n < 1) return 0;
  const int64_t elements = int64_t{n} * n;
  const bool fits = number == 100 ? count == elements : count >= elements;
  if (!fits) return 0;
  const auto divisor = mv::kernels::FillGeneratedKernel(
      number, n, std::span<int32_t>(weights, static_cast<std::size_t>(elements)));
  return divisor.value_or(0);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t GetFilter(int32_t number, int32_t size,
                                                                    int32_t* weights) {
  // An empty counted array is passed as a null pointer: it has no elements and no header.
  if (weights == nullptr) return 0;
  const ReferenceHold hold(weights);
  const int32_t count = weights[-1];
  if (const auto* fixed = mv::kernels::FindFixedKernel(number)) return FillFixed(*fixed, weights, count);
  if (mv::kernels::IsGeneratedKernel(number)) return FillGenerated(number, size, weights, count);
  return 0;
}
