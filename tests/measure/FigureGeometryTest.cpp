#include "measure/FigureGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace mv {
namespace {

TEST(FigureGeometry, ViewAndImagePositionsAtAZoom) {
  // A click at 200 % is stored unrounded; drawn back it lands where it was clicked.
  const TFigurePoint stored = ImagePosition({101, 50}, 2.0L);
  EXPECT_EQ(stored, (TFigurePoint{50.5, 25.0}));
  EXPECT_EQ(ViewPosition(stored, 2.0L), (Point{101, 50}));
  // image -> view rounds halves to even: 2.5 -> 2, 3.5 -> 4, and 10.2 at 300 % -> 31.
  EXPECT_EQ(ViewOf(5, 0.5L), 2);
  EXPECT_EQ(ViewOf(7, 0.5L), 4);
  EXPECT_EQ(ViewOf(10.2, 3.0L), 31);
  // view -> image is the extended quotient stored as a 64-bit float.
  EXPECT_EQ(ImageOf(1, 3.0L), static_cast<double>(1.0L / 3.0L));
  EXPECT_THROW(ViewOf(1e12, 4.0L), RangeError);
}

TEST(FigureGeometry, ConstrainedEndKeepsTheAnchorsAxis) {
  const Point anchor{10, 10}, pointer{50, 37};
  EXPECT_EQ(ConstrainedEnd(anchor, pointer, Axis::Horizontal), (Point{50, 10}));
  EXPECT_EQ(ConstrainedEnd(anchor, pointer, Axis::Vertical), (Point{10, 37}));
  EXPECT_EQ(ConstrainedEnd(anchor, pointer, Axis::None), pointer);
}

TEST(FigureGeometry, PolylineLengthSumsTheSegments) {
  EXPECT_EQ(PolylineLength({{0, 0}, {3, 4}, {3, 10}}), 11.0L);
  EXPECT_EQ(PolylineLength({{7, 7}}), 0.0L);
  EXPECT_EQ(PolylineLength({}), 0.0L);
}

TEST(FigureGeometry, PolygonAreaIsIndependentOfDirectionAndOfARepeatedFirstPoint) {
  EXPECT_EQ(PolygonArea({{0, 0}, {10, 0}, {10, 10}}), 50.0L);
  EXPECT_EQ(PolygonArea({{10, 10}, {10, 0}, {0, 0}}), 50.0L);
  EXPECT_EQ(PolygonArea({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), 100.0L);
  EXPECT_EQ(PolygonArea({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}), 100.0L);
  // One or two points enclose nothing.
  EXPECT_EQ(PolygonArea({{3, 4}}), 0.0L);
  EXPECT_EQ(PolygonArea({{3, 4}, {9, 1}}), 0.0L);
  // Arithmetic that gives no finite number reports 0.
  EXPECT_EQ(PolygonArea({{0, 0}, {INFINITY, 0}, {1, 1}}), 0.0L);
  EXPECT_EQ(PolygonArea({{0, 0}, {NAN, 0}, {1, 1}}), 0.0L);
}

// The trapezoid rule against the cross-product (shoelace) form on random polygons: the same area up
// to rounding, so a lost closing edge or a sign slip shows.
TEST(FigureGeometry, PolygonAreaAgreesWithTheShoelaceFormula) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(0.0, 4000.0);
  for (int polygon = 0; polygon < 200; ++polygon) {
    FigurePoints points(3 + polygon % 9);
    for (TFigurePoint& p : points) p = {coordinate(random), coordinate(random)};
    long double cross = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const TFigurePoint& a = points[i];
      const TFigurePoint& b = points[(i + 1) % points.size()];
      cross += static_cast<long double>(a.X) * b.Y - static_cast<long double>(b.X) * a.Y;
    }
    const long double expected = std::fabs(cross) / 2;
    EXPECT_NEAR(static_cast<double>(PolygonArea(points)), static_cast<double>(expected), 1e-6) << polygon;
  }
}

}  // namespace
}  // namespace mv
