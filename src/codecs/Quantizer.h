#pragma once
// Reduction of a bitmap to an 8-bit palette image: an optimised palette of at most 256 colours
// (Wu's variance-minimising box cuts, refined by a few k-means passes), then Floyd-Steinberg error
// diffusion in serpentine order. An image with few enough colours keeps them exactly.

#include <optional>

#include "platform/Bitmap.h"
#include "platform/Color.h"

namespace mv {

// An Indexed8 bitmap with at most 256 palette entries. When keepExact is given it has a palette
// entry of its own that no other entry equals; exactly the pixels of that colour map to it, and
// no error is diffused into or out of them.
Bitmap QuantizeTo8Bit(const Bitmap& source, std::optional<ColorRef> keepExact = std::nullopt);

}  // namespace mv
