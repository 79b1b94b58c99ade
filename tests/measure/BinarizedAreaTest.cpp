// The binarized-area command where the journeys cannot reach: the tool mode while its binarization
// runs, and a binarization cancelled in its progress dialog.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "macro/ScriptedDesktop.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {
namespace {

// Runs `onOptionDialog` when the option dialog shows, before answering it from the queue, and
// `onBox` when a box shows.
class WatchingDesktop : public ScriptedDesktop {
 public:
  using ScriptedDesktop::ScriptedDesktop;
  bool ShowOptionDialog(TPNGOpt& model) override {
    if (onOptionDialog) onOptionDialog();
    return ScriptedDesktop::ShowOptionDialog(model);
  }
  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons, int help) override {
    if (onBox) onBox();
    return ScriptedDesktop::ShowMessageBox(kind, text, buttons, help);
  }
  std::function<void()> onOptionDialog;
  std::function<void()> onBox;
};

class BinarizedArea : public ::testing::Test {
 protected:
  BinarizedArea() {
    window_.Load(test::Plate(40, 30, MakeColor(200, 200, 200)));
    form_.settings.LogTwoValueArea = true;
    desktop_.onOptionDialog = [this] { modeInDialog_ = form_.Tag; };
  }
  void Binarize() {
    desktop_.Answers().Push(Answer{"option", {"ok", "slider1=128"}});
    form_.MenuOpening("N9");
    form_.MenuChosen("N43");
  }

  std::ostringstream out_;
  WatchingDesktop desktop_{out_, "/nonexistent"};
  test::WindowCore window_{desktop_, "/nonexistent"};
  TForm1& form_ = window_.form;
  int32_t modeInDialog_ = -100;
};

TEST_F(BinarizedArea, TheToolModeIsThreeWhileItBinarizesAndTheBoxStandsOverTheBinarizedPicture) {
  uint8_t shownBehindTheBox = 0;
  desktop_.onBox = [&] { shownBehindTheBox = form_.Surface().Row(5)[3 * 5]; };
  Binarize();
  EXPECT_EQ(shownBehindTheBox, 255);  // the grey plate turned white
  EXPECT_EQ(modeInDialog_, 3);
  EXPECT_EQ(form_.Tag, 0);
  EXPECT_EQ(form_.measurements.WhiteCount, 1200);
  EXPECT_EQ(form_.logs.AreaLog.size(), 2u);  // the header and the line
}

TEST_F(BinarizedArea, ARunCancelledInItsProgressDialogEndsWithoutAWordOfItsOwn) {
  form_.settings.ShowProgress = true;
  desktop_.onOptionDialog = [this] {
    modeInDialog_ = form_.Tag;
    desktop_.CancelNextProgressAt(2);  // the driver's dialog, after the thumbnail's
  };
  const Bitmap before = form_.image.Picture();
  out_.str("");
  Binarize();
  EXPECT_EQ(modeInDialog_, 3);
  EXPECT_EQ(form_.Tag, 0);
  EXPECT_EQ(form_.measurements.WhiteCount, 0);
  EXPECT_EQ(form_.measurements.BlackCount, 0);
  EXPECT_EQ(form_.controls.label1, "キャンセルしました");
  EXPECT_EQ(out_.str().find("box "), std::string::npos) << out_.str();
  EXPECT_TRUE(form_.logs.AreaLog.empty());
  EXPECT_TRUE(form_.image.Picture() == before);
}

}  // namespace
}  // namespace mv
