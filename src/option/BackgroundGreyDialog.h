#pragma once
// The grey level of the plain background that transparency mode lays under the window,
// 0 (black) ... 255 (white), with a swatch of it.

#include <cstdint>

namespace mv {

inline constexpr int32_t kDefaultBackgroundGrey = 255;

// The level confirmed, or -1 when cancelled.
int32_t AskBackgroundGrey();

}  // namespace mv
