#pragma once
// Enlarges a bitmap by `radius` pixels on every side, repeating its edge rows and columns (the corner
// blocks take the corner pixels), so that every pixel of the original has a full neighbourhood.

#include <cstdint>
#include <optional>

#include "platform/Bitmap.h"

namespace mv {

// A 24-bit (W + 2r) x (H + 2r) copy, or none when it cannot be made (an empty bitmap, a negative
// radius, no memory).
std::optional<Bitmap> PadBorder(const Bitmap& bitmap, int32_t radius);

}  // namespace mv
