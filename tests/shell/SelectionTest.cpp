#include <gtest/gtest.h>

#include "EditFixture.h"

namespace mv {
namespace {

using Selection = EditFixture;

TEST_F(Selection, TheProcessingRectangleIsTheNormalisedSelectionDividedWithHalvesToEven) {
  Load(Gradient(60, 40));
  EXPECT_EQ(form_.GetProcessingRect(), (Rect{0, 0, 60, 40}));  // no selection: the whole picture

  form_.view.ZoomFactor = 2;
  Select({101, 51}, {0, 0});
  EXPECT_EQ(form_.GetProcessingRect(), (Rect{0, 0, 50, 26}));
  EXPECT_EQ(form_.selection.SelectionStart, (Point{0, 0}));
  EXPECT_EQ(form_.selection.SelectionEnd, (Point{101, 51}));
  Select({5, 1}, {3, 7});  // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4
  EXPECT_EQ(form_.GetProcessingRect(), (Rect{2, 0, 2, 4}));

  // Nothing outside the picture is part of the rectangle.
  form_.view.ZoomFactor = 0.25L;
  Select({-1, -1}, {15, 11});
  EXPECT_EQ(form_.GetProcessingRect(), (Rect{0, 0, 60, 40}));
}

TEST_F(Selection, CornersSnapToImagePixelsAboveHundredPercentOnly) {
  Load(Gradient(60, 40));
  form_.view.ZoomFactor = 2;
  EXPECT_EQ(form_.SnapToImagePixels(101), 100);  // 50.5 -> 50 -> 100
  EXPECT_EQ(form_.SnapToImagePixels(103), 104);  // 51.5 -> 52 -> 104
  form_.view.ZoomFactor = 1.5L;
  EXPECT_EQ(form_.SnapToImagePixels(7), 8);  // 4.67 -> 5 -> 7.5 -> 8
  EXPECT_EQ(form_.SnapToImagePixels(5), 4);  // 3.33 -> 3 -> 4.5 -> 4
  form_.view.ZoomFactor = 0.5L;
  EXPECT_EQ(form_.SnapToImagePixels(7), 7);
}

TEST_F(Selection, TheRightCornerIsTakenBeforeTheLeftAndNoCornerWithoutASelection) {
  Load(Gradient(60, 40));
  Select({10, 10}, {13, 20});  // narrower than the reach: both x edges are near
  form_.pb1MouseDown(Mouse(11, 9));
  EXPECT_EQ(form_.selection.SelectionStart, (Point{10, 20}));
  EXPECT_EQ(form_.selection.SelectionEnd, (Point{13, 10}));
  // The corners of no selection (-1) are not taken: a press by the picture's corner starts there.
  form_.RemoveSelection();
  form_.pb1MouseDown(Mouse(1, 2));
  EXPECT_EQ(form_.selection.SelectionStart, (Point{1, 2}));
}

TEST_F(Selection, TheOutlineIsInvertedOnTheSurfaceAndSelectAllShowsTheSize) {
  Load(Gradient(60, 40));
  form_.RefreshImageArea();
  const Bitmap& surface = form_.Surface();
  const ColorRef before = surface.ColorAt(0, 5);
  form_.A2Click();
  EXPECT_EQ(form_.selection.SelectionEnd, (Point{60, 40}));
  EXPECT_EQ(form_.controls.sb1[3].text, "60x40");
  EXPECT_EQ(surface.ColorAt(0, 5), before ^ 0xFFFFFF);
  EXPECT_EQ(surface.ColorAt(5, 5), Gradient(60, 40).ColorAt(5, 5));  // the brush is hollow
  form_.A2Click();                                                   // again: the outline stays
  EXPECT_EQ(surface.ColorAt(0, 5), before ^ 0xFFFFFF);
  form_.RemoveSelection();
  EXPECT_EQ(surface.ColorAt(0, 5), before);
  EXPECT_EQ(form_.controls.sb1[3].text, "");
}

TEST_F(Selection, WhileAProgressDialogExistsThePointerShowsOnlyTheHourglassAndCommandsWait) {
  Load(Gradient(60, 40));
  {
    // The operation under the dialog reads the picture while pending input is handled.
    const std::unique_ptr<ProgressDialog> dialog = form_.GetFeedback().CreateProgressDialog();
    form_.pb1MouseMove(Mouse(7, 3));
    EXPECT_EQ(desktop_.cursor, Cursor::Hourglass);
    EXPECT_EQ(form_.controls.sb1[3].text, "");
    form_.MenuChosen("N901");
    EXPECT_TRUE(form_.KeyPressed("Ctrl+R"));
    form_.ImageMouseDown(Mouse(3, 3));
    form_.CloseRequested();
    EXPECT_EQ(form_.image.Width(), 60);
    EXPECT_FALSE(form_.selection.SelectionDragging);
    EXPECT_FALSE(form_.IsClosed());
  }
  form_.pb1MouseMove(Mouse(7, 3));
  EXPECT_EQ(form_.controls.sb1[3].text, "7,3");
}

}  // namespace
}  // namespace mv
