#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "optiondialog/TRGBRes.h"

namespace mv {
namespace {

bool Every(const Bitmap& picture, const std::function<bool(ColorRef)>& holds) {
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (!holds(picture.ColorAt(x, y))) return false;
  return true;
}

TEST(RgbDialog, ViewsShowEachChannelShiftedAndTheOthersBlack) {
  RecordingFeedback feedback;
  const Bitmap thumbnail = RandomPicture(30, 20, 21);
  TRGBRes dialog(thumbnail, feedback);
  dialog.FormShow();
  EXPECT_TRUE(dialog.Image(1) == thumbnail);
  EXPECT_EQ(dialog.ReadOut(0), "0");
  // At 0 a view holds its channel as it is and nothing else.
  EXPECT_EQ(dialog.Image(2).ColorAt(4, 5), MakeColor(RedOf(thumbnail.ColorAt(4, 5)), 0, 0));
  EXPECT_EQ(dialog.Image(4).ColorAt(4, 5), MakeColor(0, 0, BlueOf(thumbnail.ColorAt(4, 5))));

  const Bitmap greenBefore = dialog.Image(3);
  dialog.TrackBar1Change(255);
  EXPECT_EQ(dialog.ReadOut(0), "255");
  EXPECT_TRUE(Every(dialog.Image(2), [](ColorRef c) { return c == MakeColor(255, 0, 0); }));
  EXPECT_TRUE(Every(dialog.Image(1), [](ColorRef c) { return RedOf(c) == 255; }));
  EXPECT_EQ(dialog.Image(1).ColorAt(7, 8) & 0x00FFFF00, thumbnail.ColorAt(7, 8) & 0x00FFFF00);
  EXPECT_TRUE(dialog.Image(3) == greenBefore);

  dialog.TrackBar3Change(-255);
  EXPECT_TRUE(Every(dialog.Image(4), [](ColorRef c) { return c == 0; }));
  dialog.TrackBar2Change(-300);
  EXPECT_EQ(dialog.TrackBar2(), -255);
  EXPECT_EQ(dialog.Offsets(), (std::array<int32_t, 3>{255, -255, -255}));
}

TEST(RgbDialog, TheCallShowsA148ThumbnailAndAnswersTheOffsetsOnOk) {
  RecordingFeedback feedback;
  std::string topic;
  Size shown;
  const auto offsets = RunRgbDialog(
      RandomPicture(300, 150, 22), feedback, [&topic](const std::string& t) { topic = t; },
      [&](TRGBRes& dialog) {
        shown = {dialog.Thumbnail().Width(), dialog.Thumbnail().Height()};
        dialog.TrackBar2Change(12);
        dialog.BitBtn3Click();
        return true;
      });
  EXPECT_EQ(shown, (Size{148, 74}));
  EXPECT_EQ(topic, "h204");
  ASSERT_TRUE(offsets.has_value());
  EXPECT_EQ(*offsets, (std::array<int32_t, 3>{0, 12, 0}));
  EXPECT_FALSE(RunRgbDialog(Bitmap(10, 10), feedback, {}, [](TRGBRes&) { return false; }).has_value());
}

}  // namespace
}  // namespace mv
