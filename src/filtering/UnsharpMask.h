#pragma once
// The unsharp mask and edge detection: the region blurred by an N x N box (L), the parts brighter
// than their surroundings (B = region - L), made grey (G); the unsharp mask adds G times a
// coefficient to the region, edge detection shows G inverted.

#include <optional>
#include <string>

#include "filtering/FilterRecipe.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

enum class UnsharpVariant { UnsharpMask = 1, EdgeDetection = 2 };

struct UnsharpSteps {
  UnsharpVariant variant = UnsharpVariant::UnsharpMask;
  double coefficient = 1.0;         // slider 2 / 10
  std::string caption;              // the blur and the grey step report under it (previews: empty)
  bool showProgress = false;        // the blur and the grey step under the progress dialog
  bool arithmeticProgress = false;  // the subtraction and the addition under the progress dialog
};

// `blur` is the box recipe (kernel 100, r = s + 1) with its fetched kernel. The picture to draw at
// the region's corner; none when a step was cancelled or failed (its message given). The region is
// taken by value: the unsharp mask adds onto it, so a caller that moves its copy in saves one copy.
std::optional<Bitmap> UnsharpMask(Bitmap region, const FilterRecipe& blur, const FetchedKernel& kernel,
                                  const UnsharpSteps& steps, Feedback& feedback);

}  // namespace mv
