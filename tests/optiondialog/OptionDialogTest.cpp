#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "optiondialog/OptionDialogCall.h"
#include "optiondialog/OptionModes.h"

namespace mv {
namespace {

struct CallRecord {
  AnsweringFeedback feedback;
  std::string messageLine;
  int shown = 0;
  Size thumbnail;
  double f = 0;
  Point point;
  std::function<bool(TPNGOpt&)> answer = [](TPNGOpt&) { return true; };

  OptionDialogCall Call() {
    OptionDialogCall call;
    call.services = ServicesFor(feedback);
    call.messageLine = [this] {
      return feedback.record.messages.empty() ? messageLine : feedback.record.messages.back();
    };
    call.show = [this](TPNGOpt& dialog) {
      ++shown;
      thumbnail = {dialog.Thumbnail().Width(), dialog.Thumbnail().Height()};
      f = dialog.F();
      point = dialog.PreviewPoint();
      return answer(dialog);
    };
    return call;
  }
};

TEST(OptionDialogCall, MakesTheThumbnailScaleAndPreviewPoint) {
  CallRecord wide;
  RunOptionDialog(wide.Call(), Bitmap(400, 100), 21, {50, 25});
  EXPECT_EQ(wide.thumbnail, (Size{188, 47}));
  EXPECT_DOUBLE_EQ(wide.f, 0.47);
  EXPECT_EQ(wide.point, (Point{23, 12}));  // 23.4999..., 11.75 (f is the double nearest 0.47)

  CallRecord half;
  RunOptionDialog(half.Call(), Bitmap(376, 100), 21, {5, 7});
  EXPECT_DOUBLE_EQ(half.f, 0.5);
  EXPECT_EQ(half.point, (Point{2, 4}));  // 2.5 and 3.5: halves to even

  CallRecord small;
  RunOptionDialog(small.Call(), Bitmap(50, 50), 21, {3, 1});
  EXPECT_EQ(small.thumbnail, (Size{188, 188}));
  EXPECT_DOUBLE_EQ(small.f, 3.76);
  EXPECT_EQ(small.point, (Point{11, 4}));  // 11.28, 3.76
}

TEST(OptionDialogCall, OkReturnsTheControlsAndCancelReturnsZeros) {
  CallRecord ok;
  ok.answer = [](TPNGOpt& dialog) {
    dialog.TrackBar1Change(40);
    dialog.RadioGroup2Click(1);
    return true;
  };
  const OptionResult accepted = RunOptionDialog(ok.Call(), RandomPicture(30, 20, 1), 8, {0, 0});
  EXPECT_TRUE(accepted.accepted);
  EXPECT_EQ(accepted.slider1, 40);
  EXPECT_EQ(accepted.evaluationChoice, 1);
  EXPECT_EQ(accepted.filterChoice, 3);  // RadioGroup1 keeps its design-time index while hidden
  EXPECT_EQ(accepted.slider2, 20);
  EXPECT_EQ(accepted.colour, -1);
  EXPECT_TRUE(ok.feedback.record.messages.empty());

  for (const int mode : {0, 1, 2, 7, 8, 10, 11, 16, 21, 100, 210, 12}) {
    CallRecord cancelled;
    cancelled.answer = [](TPNGOpt& dialog) {
      dialog.TrackBar1Change(dialog.TrackBar1.maximum);
      return false;
    };
    const OptionResult result = RunOptionDialog(cancelled.Call(), RandomPicture(30, 20, 2), mode, {0, 0});
    EXPECT_FALSE(result.accepted) << mode;
    EXPECT_EQ(result.colour, 0) << mode;
    EXPECT_EQ(result.slider1, 0) << mode;
    EXPECT_EQ(result.slider2, 0) << mode;
    EXPECT_EQ(result.filterChoice, 0) << mode;
    EXPECT_EQ(result.evaluationChoice, 0) << mode;
    EXPECT_EQ(cancelled.feedback.record.messages.back(), "キャンセルしました") << mode;
  }
}

TEST(OptionDialogCall, AFailedThumbnailSaysSoUnlessTheLineSaysCancelled) {
  CallRecord thin;
  EXPECT_FALSE(RunOptionDialog(thin.Call(), Bitmap(1, 1000), 2, {0, 0}).accepted);
  EXPECT_EQ(thin.shown, 0);
  EXPECT_EQ(thin.feedback.record.messages, std::vector<std::string>{"縮小画像の作成に失敗しました"});

  // Cancelling the thumbnail's progress dialog has put "キャンセルしました" there: it stays.
  CallRecord cancelled;
  cancelled.feedback.record.cancelAfterSteps = 0;
  EXPECT_FALSE(RunOptionDialog(cancelled.Call(), Bitmap(40, 40), 2, {0, 0}).accepted);
  EXPECT_EQ(cancelled.feedback.record.messages, std::vector<std::string>{"キャンセルしました"});
}

TPNGOpt Shown(int mode, Bitmap thumbnail, Feedback& feedback) {
  TPNGOpt dialog(mode, std::move(thumbnail), ServicesFor(feedback));
  dialog.FormShow();
  return dialog;
}

TEST(OptionDialogModes, SetUpTheControlsByMode) {
  RecordingFeedback feedback;
  const Bitmap picture = RandomPicture(20, 10, 3);

  const TPNGOpt png = Shown(1, picture, feedback);
  EXPECT_EQ(png.Caption(), "PNG形式の保存オプション");
  EXPECT_TRUE(png.TrackBar1.visible);
  EXPECT_EQ(png.TrackBar1.readOut, "9");
  EXPECT_EQ(png.TrackBar1.lowWord, "低圧縮");
  EXPECT_FALSE(png.TrackBar2.visible);
  EXPECT_TRUE(png.Panel1.visible);
  EXPECT_EQ(png.Panel1.caption, "無し");
  EXPECT_TRUE(png.Edit3Visible);
  EXPECT_EQ(png.Edit3Text, "0");
  EXPECT_TRUE(png.CheckBox2Visible && png.CheckBox2Checked);
  EXPECT_EQ(png.HelpTopic(), "s004");

  TPNGOpt averaging = Shown(6, picture, feedback);
  EXPECT_EQ(averaging.TrackBar1.position, -5);
  EXPECT_EQ(averaging.TrackBar1.readOut, "0");
  averaging.TrackBar1Change(0);
  EXPECT_EQ(averaging.TrackBar1.readOut, "5");

  TPNGOpt gamma = Shown(2, picture, feedback);
  EXPECT_EQ(gamma.TrackBar1.readOut, "1");
  gamma.TrackBar1Change(150);
  EXPECT_EQ(gamma.TrackBar1.readOut, "1.5");
  gamma.TrackBar1Change(5000);  // beyond the range: the slider stops at its end
  EXPECT_EQ(gamma.TrackBar1.position, 1000);

  // Hidden controls keep their design-time state: colour pencil reads slider 1 as 9.
  const TPNGOpt lineArt = Shown(10, picture, feedback);
  EXPECT_FALSE(lineArt.TrackBar1.visible);
  EXPECT_EQ(lineArt.Result().slider1, 9);
  EXPECT_EQ(lineArt.RadioGroup1.items.size(), 10u);
  EXPECT_EQ(lineArt.RadioGroup1.index, 4);
  EXPECT_EQ(lineArt.RadioGroup2.index, 2);
  EXPECT_EQ(lineArt.RadioGroup2.hint, "ラプラシアンを選択した時は無効");

  const TPNGOpt edges = Shown(11, picture, feedback);
  EXPECT_EQ(edges.ClientSize(), (Size{398, 350}));
  EXPECT_FALSE(edges.TrackBar1.visible);
  EXPECT_EQ(edges.TrackBar2.readOut, "1");

  const TPNGOpt emboss = Shown(7, picture, feedback);
  EXPECT_EQ(emboss.Panel1.label, "基底色");
  EXPECT_EQ(emboss.Panel1.caption, "");
  EXPECT_EQ(emboss.Result().colour, static_cast<int32_t>(MakeColor(128, 0, 0)));
  EXPECT_EQ(emboss.RadioGroup1.index, 6);

  const TPNGOpt waves = Shown(22, picture, feedback);
  EXPECT_EQ(waves.TrackBar2.caption, "振幅");
  EXPECT_EQ(waves.TrackBar2.position, 127);
  EXPECT_EQ(waves.HelpTopic(), "h406");

  const TPNGOpt unknown = Shown(12, picture, feedback);
  EXPECT_FALSE(unknown.TrackBar1.visible || unknown.TrackBar2.visible || unknown.RadioGroup1.visible ||
               unknown.Panel1.visible);
  EXPECT_EQ(unknown.HelpTopic(), "h001");
  EXPECT_EQ(TransHelpTopic(19), "h001");
  EXPECT_EQ(TransHelpTopic(18), "h307");
}

TEST(OptionDialogModes, BinarizationStartsAtTheMeanOfTheChannels) {
  RecordingFeedback feedback;
  Bitmap picture(2, 1);
  picture.SetColorAt(0, 0, MakeColor(10, 20, 30));
  picture.SetColorAt(1, 0, MakeColor(200, 201, 202));
  const TPNGOpt dialog = Shown(8, picture, feedback);
  EXPECT_EQ(dialog.TrackBar1.position, 110);  // 663 / 6 = 110.5, truncated
  EXPECT_EQ(dialog.TrackBar1.readOut, "110");
  EXPECT_EQ(AutomaticThreshold(Bitmap()), 128);
}

TEST(OptionDialogPanel, PickModeTakesTheColourUnderTheMouse) {
  AnsweringFeedback feedback;
  Bitmap picture(188, 47);
  picture.SetColorAt(44, 19, MakeColor(1, 2, 3));
  TPNGOpt dialog = Shown(0, picture, feedback);
  EXPECT_TRUE(dialog.Panel1Click());  // opens the pop-up menu
  dialog.N2Click();
  EXPECT_EQ(feedback.record.boxes.back().first, BoxKind::Confirmation);
  EXPECT_EQ(dialog.Panel1.caption, "指定");
  EXPECT_TRUE(dialog.PickMode());
  // g = 210 / 188; the picture sits 78 pixels down: (50, 100) is pixel (44, 19).
  dialog.Image1MouseMove({50, 100});
  EXPECT_EQ(dialog.Panel1.colour, MakeColor(1, 2, 3));
  dialog.Image1MouseDown({50, 100});
  EXPECT_FALSE(dialog.PickMode());
  EXPECT_EQ(dialog.TransparentColour(), MakeColor(1, 2, 3));
  EXPECT_EQ(dialog.Result().colour, static_cast<int32_t>(MakeColor(1, 2, 3)));
  dialog.N1Click();
  EXPECT_EQ(dialog.Result().colour, -1);

  // Cancelling the question acts like "無し"; pick mode starts all the same.
  feedback.answer = kCancel;
  dialog.N2Click();
  EXPECT_EQ(dialog.Panel1.caption, "無し");
  EXPECT_TRUE(dialog.PickMode());

  EXPECT_EQ(DisplayToThumbnail({50, 100}, {210, 210}, {188, 47}), (Point{44, 19}));
  EXPECT_EQ(DisplayToThumbnail({3, 2}, {210, 210}, {47, 188}), (Point{0, 1}));  // left of the picture
}

TEST(OptionDialogPanel, ModeSevenTakesTheColourDialogsChoice) {
  RecordingFeedback feedback;
  OptionDialogServices services = ServicesFor(feedback);
  ColorRef offered = 0;
  services.chooseColour = [&offered](ColorRef initial) -> std::optional<ColorRef> {
    offered = initial;
    return MakeColor(0, 90, 0);
  };
  TPNGOpt dialog(7, RandomPicture(10, 10, 4), services);
  dialog.FormShow();
  EXPECT_FALSE(dialog.Panel1Click());
  EXPECT_EQ(offered, MakeColor(128, 0, 0));
  EXPECT_EQ(dialog.Result().colour, static_cast<int32_t>(MakeColor(0, 90, 0)));
  EXPECT_TRUE(dialog.PreviewStale());
}

TEST(OptionDialogGamma, OkRefusesWhatIsNoNumberOrBelowZero) {
  AnsweringFeedback feedback;
  const struct {
    const char* text;
    int tag;
    const char* box;
  } cases[] = {
      {"0", 0, nullptr},
      {"2.2", 0, nullptr},
      {"-1", -1, "γ値は0より大きい値を入れてください\r\n指定しない場合は0を入れてください"},
      {"abc", -1, "γ値に数値を入れてください\r\n指定しない場合は0を入れてください"},
      {"", -1, "γ値に数値を入れてください\r\n指定しない場合は0を入れてください"},
      {"1.5x", -1, "γ値に数値を入れてください\r\n指定しない場合は0を入れてください"},
      // Values no file can hold count as no number.
      {"1e999", -1, "γ値に数値を入れてください\r\n指定しない場合は0を入れてください"},
      {"nan", -1, "γ値に数値を入れてください\r\n指定しない場合は0を入れてください"},
      {"inf", -1, "γ値に数値を入れてください\r\n指定しない場合は0を入れてください"},
      {" +2.2 ", 0, nullptr},
  };
  for (const auto& c : cases) {
    TPNGOpt dialog = Shown(1, RandomPicture(8, 8, 5), feedback);
    const std::size_t boxes = feedback.record.boxes.size();
    dialog.SetGammaText(c.text);
    dialog.BitBtn1Click();
    EXPECT_EQ(dialog.Tag(), c.tag) << c.text;
    if (c.box == nullptr) {
      EXPECT_EQ(feedback.record.boxes.size(), boxes) << c.text;
    } else {
      ASSERT_EQ(feedback.record.boxes.size(), boxes + 1) << c.text;
      EXPECT_EQ(feedback.record.boxes.back().second, c.box);
    }
  }
  // Without the gamma entry nothing is checked.
  TPNGOpt gamma = Shown(2, RandomPicture(8, 8, 5), feedback);
  gamma.SetGammaText("abc");
  gamma.BitBtn1Click();
  EXPECT_EQ(gamma.Tag(), 0);
}

TEST(OptionDialogHelp, OpensTheModesTopic) {
  RecordingFeedback feedback;
  OptionDialogServices services = ServicesFor(feedback);
  std::string topic;
  services.showHelpTopic = [&topic](const std::string& t) { topic = t; };
  TPNGOpt dialog(100, Bitmap(4, 4), services);
  dialog.BitBtn3Click();
  EXPECT_EQ(topic, "h305");
}

}  // namespace
}  // namespace mv
