// The tool modes on the main window: abort and undo keep what they should, the calibration refuses
// points without distance, a stale pick is not moved, writing figures and filling are undoable,
// and the menus offer what the mode allows.

#include "MeasureFixture.h"

namespace mv {
namespace {

class MeasureForm : public MeasureFixture {};

TEST_F(MeasureForm, AbortRemovesOnlyWhatTheAbortedInputAdded) {
  Figure(kPolygon, {{10, 10}, {60, 10}, {60, 60}});
  ASSERT_EQ(form_.measure.Figures.size(), 1u);

  // Resumed: the new points go, the polygon stays whole.
  Choose("S2");
  Press(62, 58);
  EXPECT_EQ(form_.Tag, 2);
  Press(10, 60);
  Press(5, 40);
  Choose("Q1");
  ASSERT_EQ(form_.measure.Figures.size(), 1u);
  EXPECT_EQ(form_.measure.Figures[0].Points.size(), 3u);

  // A new figure goes as a whole.
  Choose("N10");
  Press(100, 100);
  Press(150, 100);
  Choose("Q1");
  EXPECT_EQ(form_.measure.Figures.size(), 1u);

  // The wave effects' centre pick: no figure is under input, none is removed.
  form_.Tag = 3;
  Choose("Q1");
  EXPECT_EQ(form_.measure.Figures.size(), 1u);
  EXPECT_EQ(form_.Tag, 0);
  EXPECT_EQ(form_.controls.label1, "処理を中止しました");
}

TEST_F(MeasureForm, UndoLastPointRestartsTheToolWithoutItsGuidance) {
  Choose("N10");
  const int guidance = Boxes();
  EXPECT_EQ(guidance, 1);
  Press(20, 20);
  Choose("U1");
  EXPECT_EQ(Boxes(), guidance);  // no second guidance box
  EXPECT_FALSE(form_.settings.ToolMessages);
  ASSERT_EQ(form_.measure.Figures.size(), 1u);
  EXPECT_TRUE(form_.measure.Figures[0].Points.empty());
  EXPECT_EQ(form_.Tag, 1);
  EXPECT_EQ(form_.controls.label1, "多直線の距離：1点目をクリックしてください");

  Press(20, 20);
  Press(60, 20);
  Press(60, 50);
  Choose("U1");
  EXPECT_EQ(form_.measure.Figures[0].Points, (FigurePoints{{20, 20}, {60, 20}}));
  EXPECT_EQ(form_.measure.CurrentPoint, 1);
  EXPECT_EQ(form_.controls.label1, "多直線の距離：3番目の点をクリックしてください（合計長さ：40 pixels）");
}

TEST_F(MeasureForm, ConstrainedPointsLieOnTheAxisOfThePreviousPoint) {
  Choose("N28");
  EXPECT_TRUE(form_.menus.IsChecked("N28"));
  Choose("N30");  // radio partners: checking one unchecks the other
  EXPECT_FALSE(form_.menus.IsChecked("N28"));
  Choose("N30");
  EXPECT_FALSE(form_.menus.IsChecked("N30"));
  Choose("N28");
  Choose("N10");
  Press(10, 10);
  Move(50, 37);
  Press(50, 37);
  EXPECT_EQ(form_.measure.Figures[0].Points, (FigurePoints{{10, 10}, {50, 10}}));
}

TEST_F(MeasureForm, CalibrationRefusesASecondPointWithoutDistance) {
  Choose("N13");
  Press(20, 30);
  Press(20, 30);
  EXPECT_EQ(form_.Tag, -1);
  EXPECT_EQ(form_.controls.label1, "2点目は1点目と異なるところをクリックしてください");
  // With the horizontal constraint a click straight below the first point would fall back onto it.
  Choose("N28");
  Press(20, 90);
  EXPECT_EQ(form_.Tag, -1);
  EXPECT_EQ(form_.measure.CalibrationPoints.size(), 1u);
  Move(120, 90);
  Answer("lib", {"GetLengthAndUnit", "5", "1"});
  Press(120, 90);
  EXPECT_EQ(form_.Tag, 0);
  EXPECT_EQ(form_.measure.CalibrationPoints, (FigurePoints{{20, 30}, {120, 30}}));
  EXPECT_EQ(form_.measure.UnitScale, 5.0L / 100.0L);
  EXPECT_EQ(form_.measure.UnitName, "mm");
  EXPECT_EQ(form_.controls.label1, "1pixel= 0.05mm にセットしました");
}

TEST_F(MeasureForm, CalibrationCancelledOrWithoutLibraryKeepsTheUnit) {
  form_.measure.UnitName = "cm";
  form_.measure.UnitScale = 2.5L;
  Choose("N13");
  EXPECT_EQ(form_.measure.UnitScale, 1.0L);
  Press(10, 10);
  Answer("lib", {"GetLengthAndUnit", "0", "2"});
  Press(50, 10);
  EXPECT_TRUE(form_.measure.CalibrationPoints.empty());
  EXPECT_EQ(form_.measure.UnitName, "cm");
  EXPECT_EQ(form_.controls.label1, "単位長さの指定をキャンセルしました");

  Choose("N13");
  Press(10, 10);
  Answer("lib", {"missing"});
  Press(50, 10);
  EXPECT_EQ(form_.measure.CalibrationPoints.size(), 2u);  // calibrated at scale 1
  EXPECT_EQ(form_.Tag, 0);
  EXPECT_NE(out_.str().find("option.so"), std::string::npos);
}

TEST_F(MeasureForm, MovePointPicksAfreshAfterAMoveWasLeftUnfinished) {
  Figure(kPolyline, {{10, 10}, {60, 10}, {60, 60}});
  Choose("N29");
  Press(61, 11);  // picks point 1
  EXPECT_EQ(form_.measure.CurrentPoint, 1);
  Press(100, 100, MouseButton::Middle);  // leaves the move in mode 0, the pick still held
  EXPECT_EQ(form_.Tag, 0);
  Choose("N29");
  Press(60, 60);  // must pick point 2, not move point 1 there
  EXPECT_EQ(form_.measure.Figures[0].Points, (FigurePoints{{10, 10}, {60, 10}, {60, 60}}));
  EXPECT_EQ(form_.measure.CurrentPoint, 2);
  Move(80, 90);
  Press(80, 90);
  EXPECT_EQ(form_.measure.Figures[0].Points, (FigurePoints{{10, 10}, {60, 10}, {80, 90}}));
  EXPECT_EQ(form_.controls.label1, "点を移動しました");
}

TEST_F(MeasureForm, WritingFiguresDrawsAtImageScaleAndIsUndoable) {
  SetZoom(0.5L);
  Figure(kPolyline, {{10, 10}, {50, 10}});  // image (20, 20) to (100, 20)
  Answer("box", {"OK"});
  Answer("box", {"No"});
  Choose("W1");
  const Bitmap& written = form_.image.Picture();
  EXPECT_EQ(written.ColorAt(60, 20), kLine);
  EXPECT_EQ(written.ColorAt(99, 20), kLine);
  EXPECT_EQ(written.ColorAt(100, 20), kPlate);  // the end pixel is left out, inside its marker
  EXPECT_EQ(written.ColorAt(98, 18), kLine);    // the marker's corner
  EXPECT_EQ(form_.view.ZoomFactor, 0.5L);
  EXPECT_EQ(form_.measure.Figures.size(), 1u);  // "No" keeps the figures
  // The undo entry before the new one is the picture without the figures; the newest one has them.
  ASSERT_EQ(form_.history.UndoCache.size(), 2u);
  EXPECT_EQ(form_.history.UndoCache[0].ColorAt(60, 20), kPlate);
  EXPECT_EQ(form_.history.UndoCache[1], form_.image.Picture());

  Answer("box", {"OK"});
  Answer("box", {"Yes"});
  Choose("W1");
  EXPECT_TRUE(form_.measure.Figures.empty());
}

TEST_F(MeasureForm, WritingFiguresIsCancelledByTheFirstQuestion) {
  Figure(kPolyline, {{10, 10}, {50, 10}});
  Answer("box", {"Cancel"});
  Choose("W1");
  EXPECT_EQ(form_.image.Picture().ColorAt(30, 10), kPlate);
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
}

TEST_F(MeasureForm, FillIsOfferedOnlyAwayFromTheLeftAndTopEdges) {
  form_.selection.SelectionActive = true;
  form_.selection.SelectionStart = {0, 5};
  form_.selection.SelectionEnd = {40, 30};
  form_.MenuOpening(kImagePopupMenu);
  EXPECT_FALSE(Enabled("W3"));
  form_.selection.SelectionStart = {1, 5};
  Choose("B1");
  const Bitmap& filled = form_.image.Picture();
  EXPECT_EQ(filled.ColorAt(1, 5), colors::kBlack);
  EXPECT_EQ(filled.ColorAt(39, 29), colors::kBlack);
  EXPECT_EQ(filled.ColorAt(40, 29), kPlate);
  EXPECT_EQ(filled.ColorAt(0, 5), kPlate);
  ASSERT_EQ(form_.history.UndoCache.size(), 2u);
  EXPECT_EQ(form_.history.UndoCache[1], filled);
}

TEST_F(MeasureForm, ContextMenuFollowsTheMode) {
  form_.MenuOpening(kImagePopupMenu);
  EXPECT_FALSE(Enabled("Q1"));
  EXPECT_FALSE(Enabled("N29"));  // no figure
  EXPECT_TRUE(Enabled("N49"));
  EXPECT_FALSE(Enabled("N41"));
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
  form_.Tag = 4;  // a mode of the "other" row: no abort, the fill items as they were
  form_.menus.SetEnabled("W3", true);
  form_.MenuOpening(kImagePopupMenu);
  EXPECT_FALSE(Enabled("Q1"));
  EXPECT_TRUE(Enabled("W3"));
  EXPECT_TRUE(Enabled("N28"));
}

TEST_F(MeasureForm, ToolMenuFollowsThePictureTheModeAndTheFigures) {
  form_.MenuOpening("N9");
  EXPECT_TRUE(Enabled("N10"));
  EXPECT_FALSE(Enabled("N21"));
  EXPECT_FALSE(Enabled("W1"));
  form_.measure.CalibrationPoints = {{1, 1}};
  form_.MenuOpening("N9");
  EXPECT_TRUE(Enabled("W1"));
  form_.Tag = -3;
  form_.MenuOpening("N9");
  EXPECT_FALSE(Enabled("N10"));
  EXPECT_TRUE(Enabled("R1"));
  // The side-bar buttons run the enabling first: in a tool mode they do nothing.
  form_.ButtonClicked("BitBtn9");
  EXPECT_EQ(form_.Tag, -3);
  form_.Tag = 0;
  form_.ButtonClicked("BitBtn9");
  EXPECT_EQ(form_.Tag, 2);
}

}  // namespace
}  // namespace mv
