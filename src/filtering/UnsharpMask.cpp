#include "filtering/UnsharpMask.h"

#include <array>

#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "filtering/BitmapArithmetic.h"

namespace mv {

std::optional<Bitmap> UnsharpMask(Bitmap region, const FilterRecipe& blur, const FetchedKernel& kernel,
                                  const UnsharpSteps& steps, Feedback& feedback) {
  PassReporting reporting;
  reporting.caption = steps.caption;
  reporting.showProgress = steps.showProgress;
  reporting.quiet = steps.caption.empty();
  const std::optional<Bitmap> blurred = FilterRegion(blur, kernel, region, reporting, feedback);
  if (!blurred) return std::nullopt;
  Bitmap detail = region;
  if (!BitmapArithmetic(detail, *blurred, steps.arithmeticProgress, BitmapOperation::Subtract, 1.0, feedback))
    return std::nullopt;
  const TGrayScale grey;
  const std::array<int32_t, 3> params{0, 0, 0};
  if (!ApplyColorFunction(detail, grey, steps.caption, steps.showProgress, 0, params, 1.0, feedback))
    return std::nullopt;
  if (steps.variant == UnsharpVariant::EdgeDetection) {
    InvertChannels(detail);
    return detail;
  }
  if (!BitmapArithmetic(region, detail, steps.arithmeticProgress, BitmapOperation::Add, steps.coefficient,
                        feedback)) {
    return std::nullopt;
  }
  return region;
}

}  // namespace mv
