// The tool modes on the main window where the journeys cannot reach: abort keeps what existed before
// (also in the wave effects' mode), a stale pick is not moved, the context menu's rows.

#include "MeasureFixture.h"

namespace mv {
namespace {

class MeasureCommandsTest : public MeasureFixture {};

TEST_F(MeasureCommandsTest, AbortRemovesOnlyWhatTheAbortedInputAdded) {
  Figure(kPolygon, {{10, 10}, {60, 10}, {60, 60}});
  ASSERT_EQ(form_.measurements.Figures.size(), 1u);

  // Resumed: the new points go, the polygon stays whole.
  Choose("S2");
  Press(62, 58);
  EXPECT_EQ(form_.Tag, 2);
  Press(10, 60);
  Press(5, 40);
  Choose("Q1");
  ASSERT_EQ(form_.measurements.Figures.size(), 1u);
  EXPECT_EQ(form_.measurements.Figures[0].Points.size(), 3u);

  // A new figure goes as a whole.
  Choose("N10");
  Press(100, 100);
  Press(150, 100);
  Choose("Q1");
  EXPECT_EQ(form_.measurements.Figures.size(), 1u);

  // The wave effects' centre pick: no figure is under input, none is removed.
  form_.Tag = 3;
  Choose("Q1");
  EXPECT_EQ(form_.measurements.Figures.size(), 1u);
  EXPECT_EQ(form_.Tag, 0);
  EXPECT_EQ(form_.controls.label1, "処理を中止しました");
}

TEST_F(MeasureCommandsTest, MovePointPicksAfreshAfterAMoveWasLeftUnfinished) {
  Figure(kPolyline, {{10, 10}, {60, 10}, {60, 60}});
  Choose("N29");
  Press(61, 11);  // picks point 1
  EXPECT_EQ(Measure().input.CurrentPoint, 1);
  Press(100, 100, MouseButton::Middle);  // leaves the move in mode 0, the pick still held
  EXPECT_EQ(form_.Tag, 0);
  Choose("N29");
  Press(60, 60);  // must pick point 2, not move point 1 there
  EXPECT_EQ(form_.measurements.Figures[0].Points, (FigurePoints{{10, 10}, {60, 10}, {60, 60}}));
  EXPECT_EQ(Measure().input.CurrentPoint, 2);
  Move(80, 90);
  Press(80, 90);
  EXPECT_EQ(form_.measurements.Figures[0].Points, (FigurePoints{{10, 10}, {60, 10}, {80, 90}}));
  EXPECT_EQ(form_.controls.label1, "点を移動しました");
}

TEST_F(MeasureCommandsTest, ContextMenuFollowsTheMode) {
  Choose("N15");
  Press(10, 10);
  Press(50, 10);
  form_.MenuOpening(kImagePopupMenu);
  EXPECT_FALSE(Enabled("N45"));  // a polygon needs three points
  EXPECT_TRUE(Enabled("U1"));
  EXPECT_TRUE(Enabled("Q1"));
  Press(50, 50);
  form_.MenuOpening(kImagePopupMenu);
  EXPECT_TRUE(Enabled("N45"));
  form_.Tag = 7;  // a mode of the "other" row: no abort, the fill items as they were
  form_.menus.SetEnabled("W3", true);
  form_.MenuOpening(kImagePopupMenu);
  EXPECT_FALSE(Enabled("Q1"));
  EXPECT_TRUE(Enabled("W3"));
  EXPECT_TRUE(Enabled("N28"));
  // Both wave centres can be aborted or keyed in.
  for (const int32_t wave : {kWaveCentre, kStrangeWaveCentre}) {
    form_.Tag = wave;
    form_.MenuOpening(kImagePopupMenu);
    EXPECT_TRUE(Enabled("Q1"));
    EXPECT_TRUE(Enabled("N49"));
    EXPECT_FALSE(Enabled("N28"));
  }
}

}  // namespace
}  // namespace mv
