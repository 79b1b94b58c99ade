#include "capture/CaptureCommands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "macro/ScriptedDesktop.h"
#include "support/Pictures.h"
#include "support/TempFolder.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

// A display server that gives no pixels (as Wayland does to other clients).
class RefusingDesktop : public ScriptedDesktop {
 public:
  using ScriptedDesktop::ScriptedDesktop;
  Bitmap CaptureScreen(const Rect&) override { return Bitmap(); }
};

TEST(ClipToScreen, KeepsThePartOnTheDesktop) {
  const Rect screen{0, 0, 1920, 1080};
  EXPECT_EQ(ClipToScreen({-8, -8, 1928, 1050}, screen), (Rect{0, 0, 1920, 1050}));
  EXPECT_EQ(ClipToScreen({100, 200, 300, 400}, screen), (Rect{100, 200, 300, 400}));
  EXPECT_EQ(ClipToScreen({1920, 0, 2000, 10}, screen), std::nullopt);
  EXPECT_EQ(ClipToScreen({5, 5, 5, 50}, screen), std::nullopt);
}

class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest() { window_.Load(test::Gradient(8, 6)); }

  // "Not Delete For Copy" = 0: the cache is to restart with the capture.
  void RestartCacheOnCapture() {
    std::ofstream(form_.settings.SettingsPath) << "[Cache]\nNot Delete For Copy=0\n";
  }

  test::TempFolder folder_;
  std::ostringstream out_;
  RefusingDesktop desktop_{out_, folder_.String()};
  test::WindowCore window_{desktop_, folder_.String()};
  TForm1& form_ = window_.form;
  CaptureCommands& capture_ = *form_.FindSubsystem<CaptureCommands>();
};

TEST_F(CaptureTest, WhenTheDisplayServerGivesNothingTheBoxSaysSoAndNothingChanges) {
  RestartCacheOnCapture();
  const Bitmap picture = form_.image.Picture();
  for (const bool foreground : {false, true}) {
    if (foreground) desktop_.SetForeground(std::nullopt);  // no window in front either
    EXPECT_TRUE(capture_.StartCapture(foreground ? kCaptureForeground : kCaptureDesktop, false));
    EXPECT_TRUE(desktop_.Minimized());
    form_.TimerFired();
    EXPECT_NE(out_.str().find(foreground ? "box error \"\\r\\n前面のウィンドウを取得できませんでした\""
                                         : "box error \"\\r\\n画面をキャプチャできませんでした\""),
              std::string::npos);
    EXPECT_TRUE(form_.image.Picture() == picture);
    EXPECT_EQ(form_.history.UndoCache.size(), 1u);
    EXPECT_EQ(form_.controls.sb1Hint, "/pictures/a.png");
    EXPECT_EQ(form_.Timer1Tag, 0);
    EXPECT_FALSE(form_.Timer1Enabled);
    EXPECT_FALSE(desktop_.Minimized());
  }
}

TEST(Capture, TheWindowInFrontIsTakenWithinTheScreenAndTheCaptureIsAskedAboutLater) {
  test::TempFolder folder;
  std::ostringstream out;
  ScriptedDesktop screen{out, folder.String()};
  test::WindowCore window{screen, folder.String()};
  window.Load(test::Gradient(8, 6));
  TForm1& form = window.form;
  screen.SetScreen(test::Gradient(100, 50));
  screen.SetForeground(Rect{90, 40, 130, 70});  // reaching beyond the screen's corner
  form.FindSubsystem<CaptureCommands>()->StartCapture(kCaptureForeground, true);
  EXPECT_FALSE(screen.Minimized());
  form.TimerFired();
  ASSERT_EQ(form.image.Width(), 10);
  EXPECT_EQ(form.image.Height(), 10);
  EXPECT_EQ(form.image.Picture().ColorAt(0, 0), MakeColor(90, 40, 7));
  EXPECT_EQ(form.history.UndoCache.size(), 2u);
  EXPECT_EQ(form.controls.sb1[0].text, "");  // the status panels are not touched…
  EXPECT_EQ(form.controls.sb1Hint, "");      // …but the picture comes from no file
  screen.Answers().Push(mv::Answer{"box", {"Cancel"}});
  EXPECT_FALSE(form.ConfirmDiscard());
}

}  // namespace
}  // namespace mv
