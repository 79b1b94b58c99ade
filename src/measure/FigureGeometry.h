#pragma once
// The arithmetic of figures: the conversion between view and image positions at a zoom factor, the
// axis constraint of point input, and a figure's length and area in image pixels. All in extended
// precision; points are read as the 64-bit values they are stored as.

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Numbers.h"
#include "shell/Measurements.h"

namespace mv {

// image -> view: Round(zoom x value) with halves to even. RangeError when it does not fit 32 bits.
int32_t ViewOf(double value, Extended zoom);
Point ViewPosition(const TFigurePoint& point, Extended zoom);
// view -> image: view / zoom, stored as a 64-bit float.
double ImageOf(int32_t view, Extended zoom);
TFigurePoint ImagePosition(Point view, Extended zoom);

// The axis constraint of the context menu: horizontal (N28) is tested before vertical (N30).
enum class Axis { None, Horizontal, Vertical };

// The end of a line from `anchor` towards `pointer`, kept on the anchor's horizontal or vertical.
Point ConstrainedEnd(Point anchor, Point pointer, Axis axis);

// The sum of the segments' lengths; 0 for fewer than two points.
Extended PolylineLength(const FigurePoints& points);
// The area of the closed polygon by the trapezoid rule, whatever the clicking direction; 0 for fewer
// than three points and when the arithmetic gives no finite number.
Extended PolygonArea(const FigurePoints& points);

}  // namespace mv
