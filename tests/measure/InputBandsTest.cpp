// What point input draws between compositions (the inverting rubber bands) stays in step with the
// input's state when the surface is composed anew, by a scroll or otherwise: the next move erases
// what the screen shows and nothing is left behind. (A polyline through a scroll: the journey
// measure/measure_scrolled_band.)

#include "MeasureFixture.h"
#include "support/Pictures.h"

namespace mv {
namespace {

class InputBandsTest : public MeasureFixture {
 protected:
  static constexpr ColorRef kInvertedPlate = MakeColor(55, 55, 55);

  // A picture larger than the 800 x 600 image area, at 100 %.
  InputBandsTest() { window_.Load(test::Plate(1200, 900, kPlate), ""); }

  // The surface's pixel at content point (x, y).
  ColorRef Shown(int x, int y) const {
    return form_.Surface().ColorAt(x - form_.view.scroll.x, y - form_.view.scroll.y);
  }
  int CountShown(ColorRef color) const {
    const Bitmap& surface = form_.Surface();
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y)
      for (int x = 0; x < surface.Width(); ++x) count += surface.ColorAt(x, y) == color ? 1 : 0;
    return count;
  }
  void WheelDown() { form_.WheelTurned(true, ShiftState{}); }
};

TEST_F(InputBandsTest, TheCalibrationBandLeavesNothingBehindAfterAScroll) {
  Choose("N13");
  Press(200, 200);
  Move(400, 300);
  WheelDown();
  Move(300, 400);
  Answer("lib", {"GetLengthAndUnit", "5", "1"});
  Press(300, 400);
  EXPECT_TRUE(form_.measurements.Calibrated());
  // Neither band from before is left; the calibration line is drawn over the last one.
  EXPECT_EQ(Shown(300, 250), kPlate);
  EXPECT_EQ(Shown(300, 300), kPlate);
  EXPECT_EQ(Shown(250, 300), kLine);
}

TEST_F(InputBandsTest, AMovedPointsLinesLeaveNothingBehindAfterAScroll) {
  Figure(kPolyline, {{100, 300}, {300, 300}, {500, 300}});
  Choose("N29");
  Press(300, 300);  // picks the middle point
  Move(300, 350);
  WheelDown();     // the pointer's point goes to (300, 450)
  Move(300, 300);  // back onto the point's own place: its two lines show as drawn, not inverted
  EXPECT_EQ(Shown(200, 300), kLine);
  EXPECT_EQ(Shown(400, 300), kLine);
  EXPECT_EQ(Shown(200, 375), kPlate);
  EXPECT_EQ(CountShown(kInvertedPlate), 0);
}

TEST_F(InputBandsTest, AResumedFigureShowsItsBandFromTheStartSoTheFirstMoveLeavesNothing) {
  Figure(kPolyline, {{100, 100}, {300, 100}, {300, 300}});
  Choose("S2");
  Press(102, 98);  // the first vertex: the input continues at the last point, (300, 300)
  EXPECT_EQ(form_.Tag, kPolylineInput);
  Move(500, 400);
  EXPECT_EQ(Shown(201, 199), kPlate);  // no line from the last point to where the pick was
  EXPECT_EQ(Shown(400, 350), kInvertedPlate);
}

TEST_F(InputBandsTest, AKeyedInPointErasesTheBandToThePointer) {
  Choose("N10");
  Press(200, 200);
  Move(400, 300);
  Answer("lib", {"GetPointAndSize", "250", "150"});
  Choose("N49");
  EXPECT_EQ(form_.measurements.Figures[0].Points, (FigurePoints{{200, 200}, {250, 150}}));
  EXPECT_EQ(Shown(300, 250), kPlate);
  EXPECT_EQ(Shown(350, 275), kPlate);
  EXPECT_EQ(Shown(225, 175), kLine);
}

}  // namespace
}  // namespace mv
