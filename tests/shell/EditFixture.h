#pragma once
// A main window over a fake desktop whose clipboard and progress dialogs can be watched, with a
// picture as if loaded from a file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "FakeDesktop.h"
#include "shell/TForm1.h"
#include "shell/TForm3.h"

namespace mv {

class WatchingDesktop : public FakeDesktop {
 public:
  std::optional<Bitmap> clipboard;
  int progressShown = 0;
  int progressUpdates = 0;
  int progressHidden = 0;
  std::string progressCaption;

  void SetClipboardBitmap(const Bitmap& bitmap) override { clipboard = bitmap; }
  std::optional<Bitmap> ClipboardBitmap() override { return clipboard; }
  void ShowProgressDialog(TForm3& model) override {
    ++progressShown;
    progressCaption = model.Caption();
  }
  void UpdateProgressDialog(TForm3&) override { ++progressUpdates; }
  void HideProgressDialog(TForm3&) override { ++progressHidden; }
};

class EditFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/mv-edit-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    form_ = std::make_unique<TForm1>(desktop_, folder_);
    form_->Create();
  }
  void TearDown() override {
    form_.reset();
    std::system(("rm -rf '" + folder_ + "'").c_str());
  }
  // `picture` as the working image, as loading leaves it: cache entry 0, zoom applied.
  void Load(Bitmap picture) {
    form_->image.Replace(std::move(picture));
    form_->EnableImageCommands(true);
    form_->StepZoom(0);
    form_->ClearUndo();
    form_->RecordUndo();
    form_->controls.sb1Hint = "/pictures/a.png";
    form_->image.SetModified(false);
  }
  // A 24-bit picture whose pixel (x, y) is (x, y, 7).
  static Bitmap Gradient(int width, int height, PixelFormat format = PixelFormat::Bgr24) {
    Bitmap picture(width, height, format);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture.SetColorAt(x, y, MakeColor(uint8_t(x), uint8_t(y), 7));
    return picture;
  }
  void Select(Point start, Point end) {
    form_->selection.SelectionStart = start;
    form_->selection.SelectionEnd = end;
    form_->selection.SelectionActive = true;
  }
  MouseEvent Mouse(int x, int y, MouseButton button = MouseButton::Left) {
    MouseEvent event;
    event.x = x;
    event.y = y;
    event.button = button;
    return event;
  }

  WatchingDesktop desktop_;
  std::string folder_;
  std::unique_ptr<TForm1> form_;
};

}  // namespace mv
