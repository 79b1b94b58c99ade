#pragma once
// The state of the point input in progress: the figure and point under input or just picked, and
// the rubber band's far end.

#include <cstdint>

#include "platform/Geometry.h"

namespace mv {

struct PointInputState {
  int32_t CurrentFigure = -1;  // the figure under input or just picked
  int32_t CurrentPoint = -1;   // its last placed or picked point
  Point RubberEnd;             // view position: the far end of the rubber band last drawn
  // How many points the figure under input had when its input was resumed; -1 for a new figure.
  // Aborting a resumed figure removes only the points added since.
  int32_t ResumedPointCount = -1;
};

}  // namespace mv
