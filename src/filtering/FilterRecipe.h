#pragma once
// A neighbourhood filter as a command sets it up: which kernel to fetch from the kernel library and
// how to adjust it, the filter class, the radius, the divisor and the parameter. The commands and
// the option dialog's previews run the same recipe, so a preview shows what the command will do.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "filtering/ColorFilter.h"
#include "kernels/MaskArray.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

struct FilterRecipe {
  int32_t kernelNumber = 1;
  int32_t size = 3;      // N, for the generated N x N kernels
  int32_t elements = 9;  // the kernel array's length: 9, 18 (the edge pairs) or N * N
  int32_t radius = 1;    // the padding and the window's radius
  const TColorFilter* filter = nullptr;
  int32_t parameter = 0;
  std::function<void(TMaskArray& kernel)> adjust;  // applied after the fetch; may be empty
  // The divisor from the fetch's result; empty: the fetch's result itself.
  std::function<double(int32_t fetched)> divisor;
};

struct FetchedKernel {
  TMaskArray weights;
  double divisor = 0;
};

// The recipe's kernel from the kernel library, adjusted, with its divisor; none when the fetch gave
// 0 (the library missing: its box has been shown).
std::optional<FetchedKernel> FetchRecipeKernel(const FilterRecipe& recipe, const std::string& programFolder,
                                               Feedback& feedback);

// How a pass reports: its caption, the progress dialog, the completion message.
struct PassReporting {
  std::string caption;
  bool showProgress = false;
  bool quiet = false;
};

// The pass of the recipe over `padded`, a bitmap padded by the recipe's radius (moved in: the pass
// works on it); none when it was cancelled or failed (its message given).
std::optional<Bitmap> RunRecipePass(const FilterRecipe& recipe, const FetchedKernel& kernel, Bitmap padded,
                                    const PassReporting& reporting, Feedback& feedback);

// Pads `region` by the recipe's radius and runs the pass; none when either failed.
std::optional<Bitmap> FilterRegion(const FilterRecipe& recipe, const FetchedKernel& kernel,
                                   const Bitmap& region, const PassReporting& reporting, Feedback& feedback);

}  // namespace mv
