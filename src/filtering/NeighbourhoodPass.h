#pragma once
// The neighbourhood pass: visits every pixel of a padded bitmap, hands its window to a filter and
// writes the pixel the filter computes. Reports through Feedback: the hourglass while it runs, the
// progress dialog (one step per row, Cancel noticed before the next row), and the message line
// (completion, cancellation, or "失敗:" with the error's text).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "filtering/ColorFilter.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

struct PassSettings {
  int32_t radius = 1;         // the padded bitmap has `radius` extra pixels on every side
  std::string caption;        // names the operation in the messages
  bool showProgress = false;  // show the progress dialog and let its Cancel end the pass
  bool quiet = false;         // no completion message
  int threads = 0;            // rows are shared by this many threads (0: one per processor)
};

// The filtered picture, the size of `padded` less 2 * radius each way (24-bit); none when the pass
// was cancelled or failed. `padded` becomes the pass's source copy, which the filter's windows refer
// to (and a filter may write into): move it in, or pass a copy to keep the original.
std::optional<Bitmap> RunNeighbourhoodPass(Bitmap padded, const TColorFilter& filter,
                                           std::span<const int32_t> kernel, double divisor, int32_t parameter,
                                           const PassSettings& settings, Feedback& feedback);

}  // namespace mv
