// The JPEG quality dialog (plain and with the file's size), the window opacity and the background
// grey of transparency mode, driven through the program's binding.

#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include "option/OptionTestSupport.h"
#include "support/Pictures.h"
#include "ui/QtTestSupport.h"

namespace mv {
namespace {

using test::Click;
using test::Field;
using test::Gradient;
using test::Load;
using test::NextDialog;
using test::ProgramFolderCopy;

TEST(CompressDialog, StartsAt90ThenAtTheLastQualityConfirmedInTheRun) {
  const ProgramFolderCopy fresh;  // a library nothing has been confirmed in yet
  std::vector<int> offered;
  const auto answer = [&](int quality, const char* button) {
    return NextDialog([&offered, quality, button](QWidget& dialog) {
      auto* spin = Field<QSpinBox>(dialog, "quality");
      offered.push_back(spin->value());
      EXPECT_EQ(Field<QSlider>(dialog, "qualitySlider")->value(), spin->value());
      if (quality > 0) Field<QSlider>(dialog, "qualitySlider")->setValue(quality);
      EXPECT_EQ(spin->value(), quality > 0 ? quality : offered.back());
      Click(dialog, button);
    });
  };
  {
    const NextDialog driver = answer(37, "ok");
    EXPECT_EQ(fresh.Load()->CompressDialog(), 37);
  }
  {
    const NextDialog driver = answer(55, "cancel");
    EXPECT_EQ(fresh.Load()->CompressDialog(), 0);
  }
  {
    const NextDialog driver = answer(0, "ok");
    EXPECT_EQ(fresh.Load()->CompressDialogFor(Gradient(8, 8)), 37);
  }
  EXPECT_EQ(offered, (std::vector<int>{90, 37, 37}));
  // The spin box keeps to 1 ... 100.
  const NextDialog driver([](QWidget& dialog) {
    auto* spin = Field<QSpinBox>(dialog, "quality");
    EXPECT_EQ(spin->minimum(), 1);
    EXPECT_EQ(spin->maximum(), 100);
    spin->setValue(100);
    Click(dialog, "ok");
  });
  EXPECT_EQ(fresh.Load()->CompressDialog(), 100);
}

TEST(CompressDialog, ForAnImageItShowsTheFilesSizeAtTheQualityChosen) {
  std::vector<QString> sizes;
  bool plainHasNone = false;
  {
    const NextDialog driver([&](QWidget& dialog) {
      auto* spin = Field<QSpinBox>(dialog, "quality");
      auto* estimate = Field<QLabel>(dialog, "estimate");
      spin->setValue(90);
      sizes.push_back(estimate->text());
      spin->setValue(20);
      sizes.push_back(estimate->text());
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->CompressDialogFor(Gradient(200, 100)), 20);
  }
  {
    const NextDialog driver([&](QWidget& dialog) {
      Field<QSpinBox>(dialog, "quality")->setValue(75);
      sizes.push_back(Field<QLabel>(dialog, "estimate")->text());
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->CompressDialogFor(Gradient(1100, 1000)), 75);
  }
  {
    const NextDialog driver([&](QWidget& dialog) {
      plainHasNone = dialog.findChild<QLabel*>("estimate") == nullptr;
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->CompressDialog(), 75);
  }
  ASSERT_EQ(sizes.size(), 3u);
  // A small image is encoded whole: its size is the file's own; a large one is estimated.
  EXPECT_TRUE(sizes[0].startsWith("ファイルサイズ: ")) << sizes[0].toStdString();
  EXPECT_NE(sizes[0], sizes[1]);
  EXPECT_TRUE(sizes[2].startsWith("推定ファイルサイズ: 約 ")) << sizes[2].toStdString();
  EXPECT_TRUE(plainHasNone);
}

// A shown main window, as the program's.
class ProgramWindow : public ::testing::Test {
 protected:
  ProgramWindow() {
    window_.resize(300, 200);
    window_.show();
  }
  QMainWindow window_;
};

TEST_F(ProgramWindow, TheWindowFollowsTheOpacitySliderAndOkAnswersIt) {
  double during = 0;
  int offered = -1;
  const NextDialog driver([&](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "透過モード");
    offered = Field<QSpinBox>(dialog, "opacity")->value();
    Field<QSlider>(dialog, "opacitySlider")->setValue(100);
    during = window_.windowOpacity();
    Click(dialog, "ok");
  });
  EXPECT_EQ(Load()->GetAlphaBlendVal(), 100);
  EXPECT_EQ(offered, 192);
  EXPECT_NEAR(during, 100 / 255.0, 1e-2);
  EXPECT_NEAR(window_.windowOpacity(), 100 / 255.0, 1e-2);
}

TEST_F(ProgramWindow, CancellingTheOpacityPutsTheWindowsOwnBack) {
  window_.setWindowOpacity(0.5);
  double during = 0;
  const NextDialog driver([&](QWidget& dialog) {
    Field<QSpinBox>(dialog, "opacity")->setValue(10);
    during = window_.windowOpacity();
    Click(dialog, "cancel");
  });
  EXPECT_EQ(Load()->GetAlphaBlendVal(), -1);
  EXPECT_NEAR(during, 10 / 255.0, 1e-2);
  EXPECT_NEAR(window_.windowOpacity(), 0.5, 1e-2);
}

TEST(TransBackColor, AnswersTheGreyShownInTheSwatchOrMinusOne) {
  int offered = -1;
  QRgb swatch = 0;
  {
    const NextDialog driver([&](QWidget& dialog) {
      EXPECT_EQ(dialog.windowTitle(), "背景色");
      offered = Field<QSpinBox>(dialog, "grey")->value();
      Field<QSlider>(dialog, "greySlider")->setValue(77);
      auto* frame = Field<QWidget>(dialog, "swatch");
      swatch = frame->grab().toImage().pixel(frame->width() / 2, frame->height() / 2);
      Click(dialog, "ok");
    });
    EXPECT_EQ(Load()->TransBackColor(), 77);
  }
  EXPECT_EQ(offered, 255);
  EXPECT_EQ(swatch, qRgb(77, 77, 77));
  const NextDialog driver([](QWidget& dialog) {
    Field<QSpinBox>(dialog, "grey")->setValue(0);
    Click(dialog, "cancel");
  });
  EXPECT_EQ(Load()->TransBackColor(), -1);
}

}  // namespace
}  // namespace mv
