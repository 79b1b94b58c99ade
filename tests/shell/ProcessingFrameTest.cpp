#include "shell/ProcessingFrame.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "EditFixture.h"

namespace mv {
namespace {

using Frame = EditFixture;
using Progress = EditFixture;
using Clipboard = EditFixture;

Bitmap Filled(int width, int height, ColorRef colour) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.SetColorAt(x, y, colour);
  return picture;
}

// A command whose work paints its copy red, noting what it was given.
struct PaintRed {
  Bitmap given;
  Rect rect;
  FrameCommand Command() {
    FrameCommand command;
    command.work = [this](Bitmap& copy, const Rect& r) -> std::optional<Bitmap> {
      given = copy;
      rect = r;
      return Filled(copy.Width(), copy.Height(), colors::kRed);
    };
    return command;
  }
};

TEST_F(Frame, TheResultGoesBackAtTheRectanglesCornerAndIsRecorded) {
  Load(Gradient(8, 6));
  Select({2, 1}, {5, 4});
  PaintRed paint;
  EXPECT_TRUE(form_.RunProcessingFrame(paint.Command()));
  EXPECT_EQ(paint.rect, (Rect{2, 1, 5, 4}));
  EXPECT_EQ(paint.given, Gradient(8, 6).CopyRegion(2, 1, 3, 3));
  EXPECT_EQ(form_.image.Picture().ColorAt(2, 1), colors::kRed);
  EXPECT_EQ(form_.image.Picture().ColorAt(4, 3), colors::kRed);
  EXPECT_EQ(form_.image.Picture().ColorAt(5, 3), Gradient(8, 6).ColorAt(5, 3));
  EXPECT_EQ(form_.image.Picture().ColorAt(1, 1), Gradient(8, 6).ColorAt(1, 1));
  EXPECT_EQ(form_.history.UndoCache.size(), 2u);
  EXPECT_EQ(form_.history.UndoCache[1], form_.image.Picture());
}

// A whole-picture result in the picture's format takes the picture's place (its old memory goes to
// the recording); in another format it is drawn, so the picture keeps its own format.
TEST_F(Frame, AWholePictureResultIsRecordedAndKeepsThePicturesFormat) {
  Load(Gradient(600, 600));  // past the huge-page threshold: spares are prepared
  PaintRed paint;
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(form_.RunProcessingFrame(paint.Command()));
    form_.image.Edit().SetColorAt(i, 0, colors::kWhite);
    form_.RecordUndo();
  }
  const Bitmap red = Filled(600, 600, colors::kRed);
  ASSERT_EQ(form_.history.UndoCache.size(), 7u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(form_.history.UndoCache[static_cast<std::size_t>(2 * i + 1)], red) << i;
    Bitmap marked = red;
    marked.SetColorAt(i, 0, colors::kWhite);
    EXPECT_EQ(form_.history.UndoCache[static_cast<std::size_t>(2 * i + 2)], marked) << i;
  }
  Bitmap last = red;
  last.SetColorAt(2, 0, colors::kWhite);
  EXPECT_EQ(form_.image.Picture(), last);
  EXPECT_EQ(form_.history.UndoCache[0], Gradient(600, 600));

  Load(Gradient(600, 600, PixelFormat::Bgrx32));
  EXPECT_TRUE(form_.RunProcessingFrame(paint.Command()));
  EXPECT_EQ(form_.image.Picture(), Filled(600, 600, colors::kRed).ConvertedTo(PixelFormat::Bgrx32));
}

TEST_F(Frame, ACancelledDeclinedOrFailingCommandChangesNothing) {
  Load(Gradient(8, 6));
  int worked = 0, placed = 0;
  FrameCommand command;
  command.askParameters = [](const Bitmap&) { return false; };
  command.work = [&](Bitmap&, const Rect&) -> std::optional<Bitmap> {
    ++worked;
    return std::nullopt;
  };
  command.afterPlacing = [&](const Rect&) { ++placed; };
  EXPECT_FALSE(form_.RunProcessingFrame(command));
  EXPECT_EQ(worked, 0);
  command.askParameters = {};
  EXPECT_FALSE(form_.RunProcessingFrame(command));
  EXPECT_EQ(worked, 1);
  command.work = [](Bitmap& copy, const Rect&) -> std::optional<Bitmap> {
    copy.SetColorAt(0, 0, colors::kRed);  // the copy may be scribbled on: it is not the picture
    throw std::runtime_error("failed");
  };
  EXPECT_THROW(form_.RunProcessingFrame(command), std::runtime_error);
  EXPECT_EQ(placed, 0);
  EXPECT_EQ(form_.image.Picture(), Gradient(8, 6));
  EXPECT_FALSE(form_.image.Modified());
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
}

TEST_F(Frame, ARegionThatCannotBeCopiedIsReported) {
  Load(Gradient(8, 6));
  Select({20, 20}, {30, 30});  // wholly past the picture: nothing to copy
  PaintRed paint;
  EXPECT_FALSE(form_.RunProcessingFrame(paint.Command()));
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(desktop_.boxes[0].text, "矩形領域の選択に失敗しました");
  EXPECT_EQ(form_.controls.label1, "矩形領域の選択に失敗しました(作者へ連絡してください)");
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
}

TEST_F(Frame, APalettePictureBecomesAColourPictureAndAResultOfOtherSizeIsClipped) {
  Bitmap indexed(8, 6, PixelFormat::Indexed8);
  indexed.SetPalette({{10, 20, 30, 0}, {40, 50, 60, 0}});
  indexed.SetIndexAt(7, 5, 1);
  Load(indexed);
  Select({6, 4}, {8, 6});
  FrameCommand command;
  command.work = [](Bitmap& copy, const Rect&) -> std::optional<Bitmap> {
    EXPECT_EQ(copy.Format(), PixelFormat::Bgr24);
    EXPECT_EQ(copy.ColorAt(1, 1), MakeColor(60, 50, 40));
    return Filled(5, 1, colors::kRed);  // wider than the rectangle and the picture's rest
  };
  EXPECT_TRUE(form_.RunProcessingFrame(command));
  EXPECT_EQ(form_.image.Picture().Format(), PixelFormat::Bgr24);
  EXPECT_EQ(form_.controls.sb1[4].text, "24 bit");
  EXPECT_EQ(form_.image.Picture().ColorAt(7, 4), colors::kRed);
  EXPECT_EQ(form_.image.Picture().ColorAt(7, 5), MakeColor(60, 50, 40));
  EXPECT_EQ(form_.image.Picture().ColorAt(5, 4), MakeColor(30, 20, 10));

  // The whole picture with a result of other dimensions: the result is the new picture.
  form_.RemoveSelection();
  command.work = [](Bitmap&, const Rect&) -> std::optional<Bitmap> { return Filled(6, 8, colors::kBlue); };
  EXPECT_TRUE(form_.RunProcessingFrame(command));
  EXPECT_EQ(form_.image.Picture(), Filled(6, 8, colors::kBlue));
  EXPECT_EQ(form_.controls.sb1[2].text, "6x8");
}

TEST_F(Progress, TheDialogModelShowsItsStepsAndHidesOnCancel) {
  int open = 0;
  {
    TForm3 dialog(desktop_, open);
    EXPECT_EQ(open, 1);
    EXPECT_EQ(dialog.Caption(), "進捗状況");
    EXPECT_FALSE(dialog.IsVisible());
    dialog.Start("メディアンフィルタの進捗状況", 2);
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(desktop_.progressShown, 1);
    EXPECT_EQ(desktop_.progressCaption, "メディアンフィルタの進捗状況");
    dialog.StepIt();
    dialog.StepIt();
    dialog.StepIt();  // one step past the maximum: the bar stays full
    EXPECT_EQ(dialog.Position(), 2);
    EXPECT_EQ(desktop_.progressUpdates, 3);
    dialog.FormMouseMove();
    EXPECT_EQ(desktop_.cursor, Cursor::Hourglass);
    dialog.BitBtn1MouseMove();
    EXPECT_EQ(desktop_.cursor, Cursor::Arrow);
    dialog.BitBtn1Click();
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(desktop_.progressHidden, 1);
  }
  EXPECT_EQ(open, 0);
  EXPECT_EQ(desktop_.progressHidden, 1);  // already hidden: not hidden again when freed
  {
    TForm3 dialog(desktop_, open);
    dialog.Start("x", 1);
  }
  EXPECT_EQ(desktop_.progressHidden, 2);  // freed while shown: hidden
}

TEST_F(Clipboard, PastedPicturesAreColourPicturesAndAnEmptyOneIsNoPicture) {
  Load(Gradient(8, 6));
  desktop_.clipboard = Bitmap(2, 2, PixelFormat::Indexed8);
  EXPECT_TRUE(form_.PasteAsNewImage());
  EXPECT_EQ(form_.image.Picture().Format(), PixelFormat::Bgr24);
  desktop_.clipboard = Bitmap(0, 0);
  EXPECT_FALSE(form_.PasteAsNewImage());
}

}  // namespace
}  // namespace mv
