#pragma once
// The optimised palette of the quantizer: Wu's method splits the colour cube (at 5 bits per
// channel) into boxes of least summed variance, and k-means passes over the histogram cells then
// move each colour to the mean of the cells nearest to it.

#include <optional>
#include <vector>

#include "codecs/PaletteColor.h"
#include "platform/Bitmap.h"
#include "platform/Color.h"

namespace mv {

// At most maxColors colours for a 24-bit bitmap; pixels of the colour `ignored` are left out.
std::vector<Rgb> OptimisedPalette(const Bitmap& bgr24, int maxColors, std::optional<ColorRef> ignored);

}  // namespace mv
