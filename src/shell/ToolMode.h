#pragma once
// The tool modes: the main window's Tag, which decides what a left press on the image does. 0 at
// start and at the end of every tool.

#include <cstdint>

namespace mv {

enum ToolMode : int32_t {
  kPickFigureToDelete = -5,
  kPickFigureToResume = -4,
  kPickFigureToRecalculate = -3,
  kMovePoint = -2,
  kCalibration = -1,
  kSelectionMode = 0,  // idle: a drag selects a rectangle
  kPolylineInput = 1,
  kPolygonInput = 2,
  // The centre of the wave effect "波動" is picked; also held while the binarized area is computed.
  kWaveCentre = 3,
  kStrangeWaveCentre = 4,  // the centre of "怪しい波動" is picked
};

// Modes 1 to 4, in which the pointer drags a rubber band or a press places a point.
constexpr bool IsPositiveMode(int32_t mode) {
  return mode >= kPolylineInput && mode <= kStrangeWaveCentre;
}

}  // namespace mv
