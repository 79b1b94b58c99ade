#pragma once
// The JPEG quality for saving: a slider and a spin box 1 ... 100, starting at 90 or at the quality
// last confirmed in this run of the program; with an estimate, the file's size at the chosen
// quality is shown as it changes.

#include <cstdint>

namespace mv {

class JpegSizeEstimate;

inline constexpr int32_t kDefaultJpegQuality = 90;

// The quality confirmed, or 0 when cancelled. `estimate` may be null.
int32_t AskJpegQuality(JpegSizeEstimate* estimate);

}  // namespace mv
