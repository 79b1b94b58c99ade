#pragma once
// The custom filter's effect on a small built-in test pattern, computed as the program's filter
// pass computes it (the same filter rule, border padding and raster operations), so the preview
// shows what the command will draw.

#include <optional>
#include <string>

#include "option/CustomFilterSettings.h"
#include "platform/Bitmap.h"

namespace mv {

inline constexpr int kPatternSide = 64;

// Grey ramps, a dark disc, fine lines, a checkerboard and colour patches.
Bitmap TestPattern();

struct FilterPreview {
  Bitmap picture;       // the pattern after the filter (empty when it failed)
  std::string failure;  // why it failed, as the program's pass would report it
};

FilterPreview PreviewCustomFilter(const Bitmap& pattern, const CustomFilterSettings& settings);

}  // namespace mv
