#include "measure/FigureGeometry.h"

#include <cmath>

namespace mv {

int32_t ViewOf(double value, Extended zoom) {
  return RoundToInt32(zoom * static_cast<Extended>(value));
}

Point ViewPosition(const TFigurePoint& point, Extended zoom) {
  return {ViewOf(point.X, zoom), ViewOf(point.Y, zoom)};
}

double ImageOf(int32_t view, Extended zoom) {
  return static_cast<double>(static_cast<Extended>(view) / zoom);
}

TFigurePoint ImagePosition(Point view, Extended zoom) {
  return {ImageOf(view.x, zoom), ImageOf(view.y, zoom)};
}

Point ConstrainedEnd(Point anchor, Point pointer, Axis axis) {
  switch (axis) {
    case Axis::Horizontal:
      return {pointer.x, anchor.y};
    case Axis::Vertical:
      return {anchor.x, pointer.y};
    case Axis::None:
      break;
  }
  return pointer;
}

Extended PolylineLength(const FigurePoints& points) {
  Extended length = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const Extended dx = static_cast<Extended>(points[i].X) - points[i + 1].X;
    const Extended dy = static_cast<Extended>(points[i].Y) - points[i + 1].Y;
    length += std::sqrt(dx * dx + dy * dy);
  }
  return length;
}

Extended PolygonArea(const FigurePoints& points) {
  const std::size_t n = points.size();
  Extended sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const TFigurePoint& a = points[i];
    const TFigurePoint& b = points[(i + 1) % n];  // the last edge closes the polygon
    sum += ((static_cast<Extended>(a.Y) + b.Y) * 0.5L) * (static_cast<Extended>(b.X) - a.X);
  }
  const Extended area = std::fabs(sum);
  return std::isfinite(area) ? area : 0;
}

}  // namespace mv
