#pragma once
// What the user has measured on the picture: the figures with their points in image pixels, and the
// two-point calibration with its unit. The main window owns it; the measurement commands change it,
// and other commands read it or move it with the picture (a whole-picture rotation moves the figures,
// leaving transparency mode removes them).
//
// Points are stored as the clicked view position divided by the zoom factor, unrounded, so a figure
// keeps its place and size at every zoom.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Color.h"
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

struct Measurements {
  std::vector<TFigure> Figures;  // in creation order; the user counts them from 1
  FigurePoints CalibrationPoints;
  ColorRef CalibrationColor = colors::kBlack;
  Extended UnitScale = 1.0L;  // real units per image pixel, used only while calibrated
  std::string UnitName = "pixel";

  // The counts the binarization leaves for the binarized-area command (N43.Tag and BitBtn11.Tag): the
  // white pixels of the binarized rectangle and the rest of it.
  int32_t WhiteCount = 0;
  int32_t BlackCount = 0;

  bool Calibrated() const { return CalibrationPoints.size() >= 2; }
};

}  // namespace mv
