#pragma once
// The custom zoom ratio: view pixels per image pixel, entered as a factor ("1.5" = 150 %).

namespace mv {

inline constexpr double kSmallestZoomRatio = 0.01;
inline constexpr double kLargestZoomRatio = 100.0;

// The ratio entered, or 0 when cancelled. `current` is shown first (within the accepted range).
double AskZoomRatio(double current);

}  // namespace mv
