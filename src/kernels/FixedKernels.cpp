#include "kernels/FixedKernels.h"

#include <array>

namespace mv::kernels {

namespace {

using Kernel3 = std::array<int32_t, 9>;
using KernelPair = std::array<int32_t, 18>;

// Emboss, one per light direction.
constexpr Kernel3 kEmbossM6{0, 0, 0, -1, 0, 1, 0, 0, 0};
constexpr Kernel3 kEmbossM5{0, -1, 0, 0, 0, 0, 0, 1, 0};
constexpr Kernel3 kEmbossM4{0, 0, -1, 0, 0, 0, 1, 0, 0};
constexpr Kernel3 kEmbossM3{-1, 0, 0, 0, 0, 0, 0, 0, 1};
constexpr Kernel3 kEmbossM2{0, -1, 0, -1, 0, 1, 0, 1, 0};
constexpr Kernel3 kEmbossM1{-1, 0, -1, 0, 0, 0, 1, 0, 1};
constexpr Kernel3 kEmboss0{-1, -1, 0, -1, 0, 1, 0, 1, 1};
constexpr Kernel3 kBox3{1, 1, 1, 1, 1, 1, 1, 1, 1};
// Laplacian-type kernels.
constexpr Kernel3 kLaplacian4{0, -1, 0, -1, 4, -1, 0, -1, 0};
constexpr Kernel3 kLaplacian8{-1, -1, -1, -1, 8, -1, -1, -1, -1};
constexpr Kernel3 kLaplacianDiag{1, -2, 1, -2, 4, -2, 1, -2, 1};
constexpr Kernel3 kSoften{80, 120, 80, 120, 200, 120, 80, 120, 80};
// Error-distribution patterns: the centre holds the total, the negative entries the shares in
// sixteenths passed to the right, lower-left, lower and lower-right neighbours.
constexpr Kernel3 kDiffusion13{0, 0, 0, 0, 16, -4, -4, -4, -4};
constexpr Kernel3 kDiffusion14{0, 0, 0, 0, 16, -6, -2, -6, -2};
constexpr Kernel3 kDiffusion15{0, 0, 0, 0, 16, -2, -6, -2, -6};
constexpr Kernel3 kDiffusion16{0, 0, 0, 0, 16, -7, -3, -5, -1};
constexpr Kernel3 kDiffusion17{0, 0, 0, 0, 16, -4, -1, -9, -2};
// Sharpening: the divisor is the sum of the weights.
constexpr Kernel3 kSharpen4{0, -1, 0, -1, 25, -1, 0, -1, 0};
constexpr Kernel3 kSharpen8{-1, -1, -1, -1, 36, -1, -1, -1, -1};

// Edge pairs: horizontal difference, then vertical difference.
constexpr KernelPair kDifference1{0, 0, 0, 0, 1, -1, 0, 0, 0, /**/ 0, 0, 0, 0, 1, 0, 0, -1, 0};
constexpr KernelPair kDifference2{0, 0, 0, -1, 0, 1, 0, 0, 0, /**/ 0, -1, 0, 0, 0, 0, 0, 1, 0};
constexpr KernelPair kRoberts{0, 0, 0, 0, 1, 0, 0, 0, -1, /**/ 0, 0, 0, 0, 0, 1, 0, -1, 0};
constexpr KernelPair kPrewitt{1, 0, -1, 1, 0, -1, 1, 0, -1, /**/ 1, 1, 1, 0, 0, 0, -1, -1, -1};
constexpr KernelPair kSobel{1, 0, -1, 2, 0, -2, 1, 0, -1, /**/ 1, 2, 1, 0, 0, 0, -1, -2, -1};
constexpr KernelPair kThinLine{-1, 1, -1, -1, 1, -1, -1, 1, -1, /**/ -1, -1, -1, 1, 1, 1, -1, -1, -1};
constexpr KernelPair kEdge{-1, 2, -1, -1, 2, -1, -1, 2, -1, /**/ -1, -1, -1, 2, 2, 2, -1, -1, -1};

constexpr FixedKernel kFixedKernels[] = {
    {-6, kEmbossM6, 4},     {-5, kEmbossM5, 4},      {-4, kEmbossM4, 4},     {-3, kEmbossM3, 4},
    {-2, kEmbossM2, 4},     {-1, kEmbossM1, 4},      {0, kEmboss0, 1},       {1, kBox3, 9},
    {2, kDifference1, 1},   {3, kDifference2, 1},    {4, kRoberts, 1},       {5, kPrewitt, 1},
    {6, kSobel, 1},         {7, kThinLine, 1},       {8, kEdge, 2},          {9, kLaplacian4, 1},
    {10, kLaplacian8, 1},   {11, kLaplacianDiag, 1}, {12, kSoften, 1000},    {13, kDiffusion13, 16},
    {14, kDiffusion14, 16}, {15, kDiffusion15, 16},  {16, kDiffusion16, 16}, {17, kDiffusion17, 16},
    {18, kSharpen4, 21},    {19, kSharpen8, 28},
};

}  // namespace

const FixedKernel* FindFixedKernel(int32_t number) {
  for (const FixedKernel& kernel : kFixedKernels) {
    if (kernel.number == number) return &kernel;
  }
  return nullptr;
}

}  // namespace mv::kernels
