#include "measure/Overlay.h"

#include "measure/FigureGeometry.h"

namespace mv {

void DrawMarker(Canvas& canvas, Point at) {
  canvas.Rectangle(at.x - 2, at.y - 2, at.x + 2, at.y + 2);
}

void DrawMarkers(Canvas& canvas, const FigurePoints& points, Extended zoom) {
  for (const TFigurePoint& point : points) {
    canvas.SetPenMode(PenMode::Copy);
    DrawMarker(canvas, ViewPosition(point, zoom));
  }
}

void DrawPolyline(Canvas& canvas, const FigurePoints& points, bool closed, Extended zoom) {
  if (points.size() < 2) return;
  const Point first = ViewPosition(points.front(), zoom);
  canvas.MoveTo(first.x, first.y);
  for (std::size_t i = 1; i < points.size(); ++i) {
    canvas.SetPenMode(PenMode::Copy);
    const Point next = ViewPosition(points[i], zoom);
    canvas.LineTo(next.x, next.y);
  }
  if (closed) canvas.LineTo(first.x, first.y);
}

}  // namespace mv
