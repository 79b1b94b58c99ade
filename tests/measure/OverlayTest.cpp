#include "measure/Overlay.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

constexpr ColorRef kGrey = MakeColor(200, 200, 200);
constexpr ColorRef kPen = MakeColor(255, 0, 0);

Bitmap Plate(int width, int height) {
  Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetColorAt(x, y, kGrey);
  }
  return bitmap;
}

// Pixels in the pen's colour, as "x,y" in row order.
std::vector<Point> PenPixels(const Bitmap& bitmap) {
  std::vector<Point> pixels;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.ColorAt(x, y) == kPen) pixels.push_back({x, y});
    }
  }
  return pixels;
}

TEST(Overlay, MarkerIsAHollowSquareAroundTheRoundedViewPosition) {
  Bitmap surface = Plate(40, 30);
  Canvas canvas(surface);
  canvas.SetPenColor(kPen);
  canvas.SetPenMode(PenMode::Not);  // whatever mode the canvas had, markers are copied
  canvas.SetBrushStyle(BrushStyle::Clear);
  DrawMarkers(canvas, {{10.2, 5}}, 3.0L);  // view (31, 15)
  std::vector<Point> expected;
  for (int y = 13; y <= 16; ++y) {
    for (int x = 29; x <= 32; ++x) {
      if (y == 13 || y == 16 || x == 29 || x == 32) expected.push_back({x, y});
    }
  }
  EXPECT_EQ(PenPixels(surface), expected);
}

TEST(Overlay, PolylineLeavesOutItsLastPixelAndAClosedOneReturnsToTheStart) {
  Bitmap open = Plate(20, 10);
  Canvas openCanvas(open);
  openCanvas.SetPenColor(kPen);
  DrawPolyline(openCanvas, {{1, 2}, {5, 2}, {5, 5}}, false, 1.0L);
  EXPECT_EQ(PenPixels(open), (std::vector<Point>{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}, {5, 4}}));

  Bitmap closed = Plate(20, 10);
  Canvas closedCanvas(closed);
  closedCanvas.SetPenColor(kPen);
  DrawPolyline(closedCanvas, {{1, 2}, {5, 2}, {5, 5}}, true, 1.0L);
  EXPECT_EQ(closed.ColorAt(5, 5), kPen);        // the closing line starts at the last point
  EXPECT_EQ(PenPixels(closed).size(), 7u + 4);  // and takes four more pixels on its way back
}

TEST(Overlay, OnePointDrawsNoLineAndTwoClosedPointsStayOnTheirSegment) {
  Bitmap single = Plate(10, 10);
  Canvas singleCanvas(single);
  singleCanvas.SetPenColor(kPen);
  DrawPolyline(singleCanvas, {{4, 4}}, true, 1.0L);
  EXPECT_TRUE(PenPixels(single).empty());

  Bitmap pair = Plate(10, 10);
  Canvas pairCanvas(pair);
  pairCanvas.SetPenColor(kPen);
  DrawPolyline(pairCanvas, {{2, 3}, {7, 3}}, true, 1.0L);
  EXPECT_EQ(PenPixels(pair), (std::vector<Point>{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}}));
}

}  // namespace
}  // namespace mv
