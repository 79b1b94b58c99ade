#pragma once
// The measurement state of the main window: the figures with their points in image pixels, the
// figure and point under input, the rubber band's end, and the two-point calibration with its unit.
//
// Points are stored as the clicked view position divided by the zoom factor, unrounded, so a figure
// keeps its place and size at every zoom.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/Numbers.h"

namespace mv {

struct TFigurePoint {
  double X = 0;
  double Y = 0;
  bool operator==(const TFigurePoint&) const = default;
};

using FigurePoints = std::vector<TFigurePoint>;

// TFigure::Kind values.
enum : int32_t { kPolyline = 1, kPolygon = 2 };

struct TFigure {
  int32_t Kind = kPolyline;
  ColorRef Color = colors::kBlack;  // lines and markers
  FigurePoints Points;              // in click order; a polygon does not repeat its first point
};

struct MeasureState {
  std::vector<TFigure> Figures;  // in creation order; the user counts them from 1
  int32_t CurrentFigure = -1;    // the figure under input or just picked
  int32_t CurrentPoint = -1;     // its last placed or picked point
  Point RubberEnd;               // view position: the far end of the rubber band last drawn
  FigurePoints CalibrationPoints;
  ColorRef CalibrationColor = colors::kBlack;
  Extended UnitScale = 1.0L;  // real units per image pixel, used only while calibrated
  std::string UnitName = "pixel";
  // How many points the figure under input had when its input was resumed; -1 for a new figure.
  // Aborting a resumed figure removes only the points added since.
  int32_t ResumedPointCount = -1;

  bool Calibrated() const { return CalibrationPoints.size() >= 2; }
  // The figure CurrentFigure names, or nullptr when it names none.
  bool NamesFigure(int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < Figures.size();
  }
  TFigure* Current() {
    return NamesFigure(CurrentFigure) ? &Figures[static_cast<std::size_t>(CurrentFigure)] : nullptr;
  }
  const TFigure* Current() const {
    return NamesFigure(CurrentFigure) ? &Figures[static_cast<std::size_t>(CurrentFigure)] : nullptr;
  }
};

}  // namespace mv
