#include <gtest/gtest.h>

#include "EditFixture.h"

namespace mv {
namespace {

using Selection = EditFixture;

TEST_F(Selection, TheProcessingRectangleIsTheNormalisedSelectionDividedWithHalvesToEven) {
  Load(Gradient(60, 40));
  EXPECT_EQ(form_->GetProcessingRect(), (Rect{0, 0, 60, 40}));  // no selection: the whole picture

  form_->view.ZoomFactor = 2;
  Select({101, 51}, {0, 0});
  EXPECT_EQ(form_->GetProcessingRect(), (Rect{0, 0, 50, 26}));
  EXPECT_EQ(form_->selection.SelectionStart, (Point{0, 0}));
  EXPECT_EQ(form_->selection.SelectionEnd, (Point{101, 51}));
  Select({5, 1}, {3, 7});  // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4
  EXPECT_EQ(form_->GetProcessingRect(), (Rect{2, 0, 2, 4}));

  // Nothing outside the picture is part of the rectangle.
  form_->view.ZoomFactor = 0.25L;
  Select({-1, -1}, {15, 11});
  EXPECT_EQ(form_->GetProcessingRect(), (Rect{0, 0, 60, 40}));
}

TEST_F(Selection, CornersSnapToImagePixelsAboveHundredPercentOnly) {
  Load(Gradient(60, 40));
  form_->view.ZoomFactor = 2;
  EXPECT_EQ(form_->SnapToImagePixels(101), 100);  // 50.5 -> 50 -> 100
  EXPECT_EQ(form_->SnapToImagePixels(103), 104);  // 51.5 -> 52 -> 104
  form_->view.ZoomFactor = 1.5L;
  EXPECT_EQ(form_->SnapToImagePixels(7), 8);  // 4.67 -> 5 -> 7.5 -> 8
  EXPECT_EQ(form_->SnapToImagePixels(5), 4);  // 3.33 -> 3 -> 4.5 -> 4
  form_->view.ZoomFactor = 0.5L;
  EXPECT_EQ(form_->SnapToImagePixels(7), 7);
}

TEST_F(Selection, ADragFromAnyCornerSelectsAndAZeroSizedOneIsDiscarded) {
  Load(Gradient(60, 40));
  form_->N2001Click();  // 200 %: the view is 120 x 80
  form_->pb1MouseDown(Mouse(91, 61));
  form_->pb1MouseMove(Mouse(33, 500));  // clamped to the image area, then snapped
  EXPECT_EQ(form_->controls.sb1[3].text, "30x10");
  form_->pb1MouseUp(Mouse(33, 500));
  EXPECT_TRUE(form_->selection.SelectionActive);
  EXPECT_EQ(form_->selection.SelectionStart, (Point{92, 60}));
  EXPECT_EQ(form_->selection.SelectionEnd, (Point{32, 80}));
  EXPECT_EQ(form_->GetProcessingRect(), (Rect{16, 30, 46, 40}));

  // A press away from its corners starts anew; no height on release discards it.
  form_->pb1MouseDown(Mouse(10, 9));
  EXPECT_FALSE(form_->selection.SelectionActive);
  EXPECT_EQ(form_->controls.sb1[3].text, "");
  form_->pb1MouseMove(Mouse(50, 9));  // snapped onto the row it started from
  form_->pb1MouseUp(Mouse(50, 9));
  EXPECT_FALSE(form_->selection.SelectionActive);
  EXPECT_EQ(form_->selection.SelectionStart, (Point{-1, -1}));

  // Other tool modes leave the selection alone while pressing.
  form_->Tag = 1;
  form_->pb1MouseDown(Mouse(10, 10));
  EXPECT_FALSE(form_->selection.SelectionDragging);
}

TEST_F(Selection, APressNearACornerTakesHoldOfItAndTheDragMovesIt) {
  Load(Gradient(60, 40));
  Select({10, 10}, {30, 20});
  form_->pb1MouseDown(Mouse(12, 22));  // near the left and the bottom edge
  EXPECT_EQ(form_->selection.SelectionStart, (Point{30, 10}));
  EXPECT_EQ(form_->selection.SelectionEnd, (Point{10, 20}));
  form_->pb1MouseMove(Mouse(5, 25));
  form_->pb1MouseUp(Mouse(5, 25));
  EXPECT_EQ(form_->GetProcessingRect(), (Rect{5, 10, 30, 25}));
  // The right edge is tested before the left one: in a selection narrower than 5 pixels the right
  // corner is taken.
  Select({10, 10}, {13, 20});
  form_->pb1MouseDown(Mouse(11, 9));
  EXPECT_EQ(form_->selection.SelectionStart, (Point{10, 20}));
  EXPECT_EQ(form_->selection.SelectionEnd, (Point{13, 10}));
}

TEST_F(Selection, TheOutlineIsInvertedOnTheSurfaceAndSelectAllShowsTheSize) {
  Load(Gradient(60, 40));
  form_->RefreshImageArea();
  const Bitmap& surface = form_->Surface();
  const ColorRef before = surface.ColorAt(0, 5);
  form_->A2Click();
  EXPECT_EQ(form_->selection.SelectionEnd, (Point{60, 40}));
  EXPECT_EQ(form_->controls.sb1[3].text, "60x40");
  EXPECT_EQ(surface.ColorAt(0, 5), before ^ 0xFFFFFF);
  EXPECT_EQ(surface.ColorAt(5, 5), Gradient(60, 40).ColorAt(5, 5));  // the brush is hollow
  form_->A2Click();                                                  // again: the outline stays
  EXPECT_EQ(surface.ColorAt(0, 5), before ^ 0xFFFFFF);
  form_->RemoveSelection();
  EXPECT_EQ(surface.ColorAt(0, 5), before);
  EXPECT_EQ(form_->controls.sb1[3].text, "");
}

TEST_F(Selection, WithoutASelectionPanelThreeFollowsThePointerInsideThePicture) {
  Load(Gradient(60, 40));
  form_->N501Click();  // 50 %: the view is 30 x 20
  form_->pb1MouseMove(Mouse(7, 3));
  EXPECT_EQ(form_->controls.sb1[3].text, "14,6");
  form_->pb1MouseMove(Mouse(29, 19));
  EXPECT_EQ(form_->controls.sb1[3].text, "58,38");
  form_->pb1MouseMove(Mouse(400, -9));
  EXPECT_EQ(form_->controls.sb1[3].text, "60,0");
  // A selection size in the panel stays; so does everything while a progress dialog exists.
  form_->controls.sb1[3].text = "3x4";
  form_->pb1MouseMove(Mouse(7, 3));
  EXPECT_EQ(form_->controls.sb1[3].text, "3x4");
  form_->controls.sb1[3].text.clear();
  {
    const std::unique_ptr<ProgressDialog> dialog = form_->GetFeedback().CreateProgressDialog();
    form_->pb1MouseMove(Mouse(7, 3));
    EXPECT_EQ(desktop_.cursor, Cursor::Hourglass);
    EXPECT_EQ(form_->controls.sb1[3].text, "");
  }
  form_->pb1MouseMove(Mouse(7, 3));
  EXPECT_EQ(form_->controls.sb1[3].text, "14,6");
}

}  // namespace
}  // namespace mv
