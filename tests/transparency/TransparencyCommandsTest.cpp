#include "transparency/TransparencyCommands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "macro/ScriptedDesktop.h"
#include "platform/Numbers.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

// A desktop without a compositing manager: the window's opacity is not seen.
class DesktopWithoutBlending : public ScriptedDesktop {
 public:
  using ScriptedDesktop::ScriptedDesktop;
  bool ShowsWindowOpacity() override { return false; }
};

class TransparencyTest : public ::testing::Test {
 protected:
  void Answer(std::string kind, std::vector<std::string> values) {
    desktop_.Answers().Push(mv::Answer{std::move(kind), std::move(values)});
  }
  void Enter(const char* alpha, const char* value) {
    Answer("box", {"No"});  // not always on top
    Answer("lib", {"GetAlphaBlendVal", alpha});
    Answer("lib", {"TransBackColor", value});
    form_.menus.Click("A1");
  }

  std::ostringstream out_;
  DesktopWithoutBlending desktop_{out_, "/nonexistent"};
  test::WindowCore window_{desktop_, "/nonexistent"};
  TForm1& form_ = window_.form;
};

TEST(TransparencyBackground, IsEveryPixelTheValueOverTheGreyPalette) {
  const Bitmap background = TransparencyBackground({5, 3}, 77);
  EXPECT_EQ(background.Format(), PixelFormat::Indexed8);
  EXPECT_EQ(background.Width(), 5);
  EXPECT_EQ(background.Height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(background.IndexAt(x, y), 77);
      EXPECT_EQ(background.ColorAt(x, y), MakeColor(77, 77, 77));
    }
  }
  EXPECT_EQ(TransparencyBackground({1, 1}, 255).ColorAt(0, 0), MakeColor(255, 255, 255));
  EXPECT_THROW(TransparencyBackground({1, 1}, 256), RangeError);
  EXPECT_THROW(TransparencyBackground({1, 1}, -1), RangeError);
}

TEST_F(TransparencyTest, TheModeHoldsBackItsCommandsAndLeavingGivesThemBackWithoutPictureOrFigures) {
  window_.Load(test::Gradient(8, 8));
  form_.measurements.Figures.push_back(TFigure{kPolygon, colors::kBlack, {{1, 1}, {2, 2}}});
  Answer("box", {"OK"});
  Enter("200", "30");
  ASSERT_TRUE(form_.menus.IsChecked("A1"));
  for (const char* name : {"N2", "S1", "N4", "N211", "N46", "N17", "W1"})
    EXPECT_FALSE(form_.menus.Get(name).enabled) << name;
  EXPECT_EQ(desktop_.WindowOpacity(), 200);
  EXPECT_EQ(form_.image.Width(), 1920);
  EXPECT_EQ(form_.image.Picture().IndexAt(100, 100), 30);

  form_.menus.Click("A1");
  EXPECT_FALSE(form_.menus.IsChecked("A1"));
  for (const char* name : {"N2", "S1", "N4", "N211", "N46", "N17", "W1"})
    EXPECT_TRUE(form_.menus.Get(name).enabled) << name;
  EXPECT_EQ(desktop_.WindowOpacity(), std::nullopt);
  EXPECT_FALSE(desktop_.AlwaysOnTop());
  EXPECT_FALSE(form_.image.Exists());
  EXPECT_TRUE(form_.measurements.Figures.empty());
  EXPECT_EQ(form_.controls.label1, "透過モード終了");
}

TEST_F(TransparencyTest, WhereOpacityIsNotSeenTheMessageLineSaysSoOnce) {
  Enter("128", "0");
  EXPECT_EQ(form_.controls.label1, "透過モード（このデスクトップでは半透明になりません）");
  form_.menus.Click("A1");
  Enter("128", "0");
  EXPECT_EQ(form_.controls.label1, "透過モード");
}

TEST_F(TransparencyTest, AnOpacityAbove255IsARangeErrorThatChangesNothingBeyondTheMode) {
  window_.Load(test::Gradient(8, 8));
  const Bitmap picture = form_.image.Picture();
  Answer("box", {"OK"});
  form_.Run([&] { Enter("256", "10"); });
  EXPECT_NE(out_.str().find("box error \"Range check error.\""), std::string::npos);
  EXPECT_TRUE(form_.menus.IsChecked("A1"));
  EXPECT_TRUE(form_.image.Picture() == picture);
  EXPECT_EQ(desktop_.WindowOpacity(), 255);  // blending is on at the value it had
}

}  // namespace
}  // namespace mv
