#pragma once
// A main window over a fake desktop whose clipboard and progress dialogs can be watched, with a
// picture as if loaded from a file.

#include <gtest/gtest.h>

#include <string>

#include "shell/TForm1.h"
#include "shell/TForm3.h"
#include "support/FakeDesktop.h"
#include "support/Pictures.h"
#include "support/TempFolder.h"
#include "support/WindowCore.h"

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
  // `picture` as the working image, as loading leaves it: cache entry 0, zoom applied.
  void Load(Bitmap picture) { window_.Load(std::move(picture)); }
  static Bitmap Gradient(int width, int height, PixelFormat format = PixelFormat::Bgr24) {
    return test::Gradient(width, height, format);
  }
  void Select(Point start, Point end) {
    form_.selection.SelectionStart = start;
    form_.selection.SelectionEnd = end;
    form_.selection.SelectionActive = true;
  }
  MouseEvent Mouse(int x, int y, MouseButton button = MouseButton::Left) {
    MouseEvent event;
    event.x = x;
    event.y = y;
    event.button = button;
    return event;
  }

  test::TempFolder folder_;
  WatchingDesktop desktop_;
  test::WindowCore window_{desktop_, folder_.String()};
  TForm1& form_ = window_.form;
};

}  // namespace mv
