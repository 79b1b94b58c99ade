#pragma once
// The drawing primitives of the measurement overlay: the hollow 4 x 4 marker of a point and the
// lines of a figure, at the view positions of its points for a zoom factor.

#include "platform/Canvas.h"
#include "platform/Numbers.h"
#include "shell/Measurements.h"

namespace mv {

// The rectangle from `at` - (2, 2) to `at` + (2, 2), right and bottom exclusive, with the canvas's
// pen and brush as they are.
void DrawMarker(Canvas& canvas, Point at);

// Every point's marker with pen mode pmCopy and the canvas's brush.
void DrawMarkers(Canvas& canvas, const FigurePoints& points, Extended zoom);

// From two points on: lines from point to point with pen mode pmCopy (end pixels left out), and the
// line back to the first point when `closed`.
void DrawPolyline(Canvas& canvas, const FigurePoints& points, bool closed, Extended zoom);

}  // namespace mv
