// Memory running out at any large allocation of a session (loading, a whole-picture command,
// undo, redo, pasting a new picture, drawing the view) must leave a window whose picture, status
// bar and undo cache agree, and every later undo and redo must work. The sweep fails the first,
// second, third … large allocation until a session runs without meeting the failure: once the
// failure alone, once with every allocation after it failing too.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EditFixture.h"
#include "codecs/PngImage.h"

namespace mv {
namespace {

using OutOfMemory = EditFixture;

// A picture whose pixel (x, y) is (x, y, 7), with one pixel marked.
Bitmap Marked(int width, int height, Point mark, ColorRef colour) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.SetColorAt(x, y, MakeColor(uint8_t(x), uint8_t(y), 7));
  picture.SetColorAt(mark.x, mark.y, colour);
  return picture;
}
// 600 x 700, 900 x 500 and 700 x 650 pictures: past the threshold of large buffers (1 MiB).
Bitmap First() {
  return Marked(600, 700, {0, 0}, colors::kWhite);
}
Bitmap Pasted() {
  return Marked(900, 500, {0, 0}, colors::kRed);
}

// The picture, the status bar, the view size and the undo cache agree.
void ExpectConsistent(TForm1& form) {
  ASSERT_TRUE(form.image.Exists());
  const Bitmap& picture = form.image.Picture();
  ASSERT_NE(picture.Row(0), nullptr);
  EXPECT_EQ(form.controls.sb1[2].text,
            std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()));
  EXPECT_EQ(form.view.im1, (Size{picture.Width(), picture.Height()}));  // at 100 %
  const std::vector<Bitmap>& cache = form.history.UndoCache;
  EXPECT_EQ(form.controls.sb1[5].text, " Cache " + std::to_string(cache.empty() ? 0 : cache.size() - 1));
  if (cache.empty()) {
    EXPECT_EQ(form.history.UndoPosition, -1);
    return;
  }
  ASSERT_GE(form.history.UndoPosition, 0);
  ASSERT_LT(static_cast<std::size_t>(form.history.UndoPosition), cache.size());
  for (const Bitmap& entry : cache) {
    EXPECT_FALSE(entry.IsEmpty());
    EXPECT_NE(entry.Row(0), nullptr);
  }
  EXPECT_TRUE(cache[static_cast<std::size_t>(form.history.UndoPosition)] == picture);
}

class Session {
 public:
  Session(TForm1& form, WatchingDesktop& desktop, const std::string& folder)
      : form_(form), desktop_(desktop) {
    file_ = folder + "/third.png";
    WritePngFile(file_, Marked(700, 650, {1, 1}, colors::kBlue), {});
    desktop_.clipboard = Pasted();
  }

  // Each step as the window delivers it: through the command runner, which reports what escapes.
  std::vector<std::function<void()>> Steps() {
    return {
        [&] { form_.MenuChosen("N901"); },              // rotate: another shape
        [&] { form_.Run([&] { form_.N46Click(); }); },  // undo
        [&] { form_.Run([&] { form_.N11Click(); }); },  // redo
        [&] { form_.Run([&] { form_.PasteAsNewImage(); }); },
        [&] { form_.Run([&] { form_.N46Click(); }); },
        [&] { LoadKeepingTheOldPictureOnFailure(); },
        [&] { form_.MenuChosen("N26"); },  // mirror: the same shape
        [&] {
          // mirror a part: drawn onto the picture
          form_.selection.SelectionStart = {10, 20};
          form_.selection.SelectionEnd = {300, 200};
          form_.selection.SelectionActive = true;
          form_.MenuChosen("N26");
          form_.Run([&] { form_.RemoveSelection(); });
        },
    };
  }

 private:
  // Loading either happens whole or leaves the previous picture with its file and status.
  void LoadKeepingTheOldPictureOnFailure() {
    // What the picture was, without copying it (that would take memory the test is denying).
    const Bitmap& picture = form_.image.Picture();
    const int width = picture.Width(), height = picture.Height();
    const ColorRef corner = picture.ColorAt(0, 0);
    const std::string hint = form_.controls.sb1Hint, name = form_.controls.sb1[0].text;
    form_.Run([&] { form_.LoadImageFile(file_, false); });
    if (form_.controls.sb1Hint == file_) {
      EXPECT_EQ(form_.controls.sb1[0].text, "third.png");
      EXPECT_EQ(form_.image.Picture().ColorAt(1, 1), colors::kBlue);
    } else {
      EXPECT_EQ(form_.image.Width(), width);
      EXPECT_EQ(form_.image.Height(), height);
      EXPECT_EQ(form_.image.Picture().ColorAt(0, 0), corner);
      EXPECT_EQ(form_.controls.sb1Hint, hint);
      EXPECT_EQ(form_.controls.sb1[0].text, name);
    }
  }

  TForm1& form_;
  WatchingDesktop& desktop_;
  std::string file_;
};

void Sweep(const std::string& folder, uint64_t failures) {
  for (uint64_t first = 1;; ++first) {
    SCOPED_TRACE("large allocation " + std::to_string(first) + " and " + std::to_string(failures - 1) +
                 " after it fail");
    WatchingDesktop desktop;
    test::WindowCore window(desktop, folder);
    TForm1& form = window.form;
    form.Run([&] {
      form.image.Replace(First());
      form.EnableImageCommands(true);
      form.StepZoom(0);
      form.ClearUndo();
      form.RecordUndo();
      form.ShowFileStatus("/pictures/first.png");
    });
    Session session(form, desktop, folder);
    uint64_t failed = 0;
    {
      const PixelBuffer::FailLargeAllocations failing(first, failures);
      for (const auto& step : session.Steps()) {
        step();
        ExpectConsistent(form);
      }
      failed = failing.Failed();
    }
    // With memory back, the whole history can be walked both ways.
    const std::size_t length = form.history.UndoCache.size();
    for (std::size_t i = 0; i < length; ++i) form.Run([&] { form.N46Click(); });
    ExpectConsistent(form);
    for (std::size_t i = 0; i < length; ++i) form.Run([&] { form.N11Click(); });
    ExpectConsistent(form);
    form.Run([&] { form.RefreshImageArea(); });
    if (failed == 0) {
      // The session ran whole: a rotation, its undo and redo, a paste and its undo, a load, a mirror
      // of the whole and of a part.
      EXPECT_EQ(form.history.UndoCache.size(), 3u);
      EXPECT_EQ(form.image.Picture().ColorAt(700 - 2, 1), colors::kBlue);
      EXPECT_GT(first, 5u);
    }
    if (testing::Test::HasFailure() || failed == 0) return;
  }
}

TEST_F(OutOfMemory, AnyOneLargeAllocationFailingLeavesTheWindowConsistent) {
  Sweep(folder_.String(), 1);
}

TEST_F(OutOfMemory, MemoryRunningOutForGoodAtAnyPointLeavesTheWindowConsistent) {
  Sweep(folder_.String(), 1000000);
}

// The case that once crashed: the picture grew, its undo entry could not be made, and the entry
// was left claiming the new size without pixels; redo then drew from nothing.
TEST_F(OutOfMemory, AChangeWhoseUndoEntryCannotBeMadeIsTakenBack) {
  Load(Marked(300, 200, {0, 0}, colors::kWhite));
  desktop_.clipboard = Pasted();
  {
    const PixelBuffer::FailLargeAllocations failing(2);  // the pasted picture's copy, then its entry
    form_.image.Replace(Pasted());
    form_.Run([&] { form_.RecordUndo(); });
    EXPECT_EQ(failing.Failed(), 1u);
  }
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "Out of memory for the undo cache: the change was taken back.");
  EXPECT_TRUE(form_.image.Picture() == Marked(300, 200, {0, 0}, colors::kWhite));
  EXPECT_EQ(form_.history.UndoCache.size(), 1u);
  form_.Run([&] { form_.N46Click(); });
  form_.Run([&] { form_.N11Click(); });
  ExpectConsistent(form_);
}

}  // namespace
}  // namespace mv
