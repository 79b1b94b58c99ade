#include "colour/Resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <random>

#include "platform/ImageLimits.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

// A Feedback whose progress dialog can be cancelled after a number of steps.
struct Recorder : Feedback {
  std::vector<std::string> messages;
  std::string caption;
  int maximum = -1;
  int steps = 0;
  int pendingEvents = 0;
  int cancelAfter = -1;

  struct Dialog : ProgressDialog {
    explicit Dialog(Recorder& r) : r_(r) {}
    void Start(const std::string& caption, int maximum) override {
      r_.caption = caption;
      r_.maximum = maximum;
    }
    bool IsVisible() const override { return r_.cancelAfter < 0 || r_.steps < r_.cancelAfter; }
    void StepIt() override { ++r_.steps; }
    Recorder& r_;
  };

  BoxButton ShowMessageBox(BoxKind, const std::string&, BoxButtons, int) override { return kOK; }
  void SetMessage(const std::string& text) override { messages.push_back(text); }
  void SetCursor(Cursor) override {}
  std::unique_ptr<ProgressDialog> CreateProgressDialog() override { return std::make_unique<Dialog>(*this); }
  void ProcessPendingEvents() override { ++pendingEvents; }
};

int Channel(ColorRef colour, int c) {
  return c == 0 ? BlueOf(colour) : c == 1 ? GreenOf(colour) : RedOf(colour);
}

// The resampling rule written out directly, one source cell at a time.
Bitmap ReferenceResample(const Bitmap& g, int w, int h) {
  const int W = g.Width(), H = g.Height();
  const Extended sx = static_cast<Extended>(W) / w, sy = static_cast<Extended>(H) / h;
  const Extended ratio = static_cast<Extended>(W) * H / w / h;
  const auto pixel = [&](int64_t i, int64_t j, int c) {
    i = std::clamp<int64_t>(i, 0, W - 1);
    j = std::clamp<int64_t>(j, 0, H - 1);
    return Channel(g.ColorAt(static_cast<int>(i), static_cast<int>(j)), c);
  };
  // Width and mean offset of the cell [i, i + 1] inside [low, high].
  const auto overlap = [](Extended i, Extended low, Extended high, Extended& width, Extended& mean) {
    if (i > low && i + 1 < high) {
      width = 1;
      mean = 0.5L;
    } else if (i <= low && i + 1 < high) {
      width = 1 - (low - i);
      mean = (low - i + 1) / 2;
    } else if (i > low && i + 1 >= high) {
      width = high - i;
      mean = (high - i) / 2;
    } else {
      width = high - low;
      mean = ((high - i) + (low - i)) / 2;
    }
  };
  Bitmap d(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Extended x0 = x * sx - 0.5L, x1 = (x + 1) * sx - 0.500001L;
      const Extended y0 = y * sy - 0.5L, y1 = (y + 1) * sy - 0.500001L;
      Extended sum[3] = {0, 0, 0};
      for (int64_t j = static_cast<int64_t>(std::floor(y0)); j <= static_cast<int64_t>(std::floor(y1)); ++j) {
        for (int64_t i = static_cast<int64_t>(std::floor(x0)); i <= static_cast<int64_t>(std::floor(x1));
             ++i) {
          Extended wx, mx, wy, my;
          overlap(static_cast<Extended>(i), x0, x1, wx, mx);
          overlap(static_cast<Extended>(j), y0, y1, wy, my);
          for (int c = 0; c < 3; ++c) {
            const int p00 = pixel(i, j, c), p10 = pixel(i + 1, j, c);
            const int p01 = pixel(i, j + 1, c), p11 = pixel(i + 1, j + 1, c);
            const Extended f = p00 + (p10 - p00) * mx + (p01 - p00) * my + (p11 - p10 - p01 + p00) * mx * my;
            sum[c] += wx * wy * f;
          }
        }
      }
      d.SetColorAt(x, y,
                   MakeColor(static_cast<uint8_t>(RoundHalfEven(sum[2] / ratio)),
                             static_cast<uint8_t>(RoundHalfEven(sum[1] / ratio)),
                             static_cast<uint8_t>(RoundHalfEven(sum[0] / ratio))));
    }
  }
  return d;
}

Bitmap RandomPicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.SetColorAt(x, y, static_cast<ColorRef>(random() & 0xFFFFFF));
    }
  }
  return picture;
}

TEST(ResampleBitmap, MatchesTheRuleWhenReducingEnlargingAndKeepingTheSize) {
  Recorder feedback;
  const struct {
    int W, H, w, h;
  } cases[] = {{17, 13, 5, 4}, {7, 5, 23, 11}, {9, 9, 9, 9}, {31, 7, 10, 20}, {1, 1, 3, 2}, {40, 30, 39, 31}};
  unsigned seed = 1;
  for (const auto& c : cases) {
    const Bitmap source = RandomPicture(c.W, c.H, seed++);
    const std::optional<Bitmap> result = ResampleBitmap(source, c.w, c.h, feedback);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, ReferenceResample(source, c.w, c.h))
        << c.W << "x" << c.H << " -> " << c.w << "x" << c.h;
  }
  // Other formats are read through their colours.
  Bitmap grey(6, 4, PixelFormat::Indexed8);
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < 256; ++i) palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0});
  grey.SetPalette(palette);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) grey.SetIndexAt(x, y, x * 40 + y);
  EXPECT_EQ(*ResampleBitmap(grey, 4, 3, feedback), ReferenceResample(grey, 4, 3));
}

TEST(ResampleBitmap, MatchesTheRuleOnLargerPicturesSharedByTheProcessors) {
  Recorder feedback;
  const struct {
    int W, H, w, h;
  } cases[] = {{400, 300, 188, 141}, {300, 200, 701, 433}, {123, 77, 61, 38}, {1000, 9, 3, 97}};
  unsigned seed = 11;
  for (const auto& c : cases) {
    const Bitmap source = RandomPicture(c.W, c.H, seed++);
    const std::optional<Bitmap> result = ResampleBitmap(source, c.w, c.h, feedback);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(*result == ReferenceResample(source, c.w, c.h))
        << c.W << "x" << c.H << " -> " << c.w << "x" << c.h;
  }
  EXPECT_EQ(feedback.steps, 141 + 433 + 38 + 97);
}

TEST(ResampleBitmap, MeansNextToAHalfRoundAsTheRuleDoes) {
  // At its own size a one-row picture weighs a pixel's neighbour by 1/8 less a millionth's share:
  // 4 next to zeros gives 0.4999995, which the rule rounds down.
  Bitmap row(6, 1);
  row.SetColorAt(0, 0, MakeColor(4, 12, 20));
  row.SetColorAt(5, 0, MakeColor(255, 4, 36));
  Recorder feedback;
  const Bitmap result = *ResampleBitmap(row, 6, 1, feedback);
  EXPECT_EQ(result, ReferenceResample(row, 6, 1));
  EXPECT_EQ(result.ColorAt(1, 0), MakeColor(0, 1, 2));
}

TEST(ResampleBitmap, ItsOwnSizeSmoothsAndOneColourStaysThatColour) {
  Recorder feedback;
  Bitmap line(5, 1);
  line.SetColorAt(2, 0, MakeColor(80, 80, 80));
  const Bitmap smoothed = *ResampleBitmap(line, 5, 1, feedback);
  const int expected[] = {0, 10, 60, 10, 0};  // 1/8, 3/4, 1/8 of the bright pixel
  for (int x = 0; x < 5; ++x) EXPECT_EQ(RedOf(smoothed.ColorAt(x, 0)), expected[x]) << x;

  Bitmap white(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) white.SetColorAt(x, y, MakeColor(255, 255, 255));
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {3, 2}, {7, 3}, {50, 17}}) {
    const Bitmap result = *ResampleBitmap(white, w, h, feedback);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(result.ColorAt(x, y), MakeColor(255, 255, 255));
  }
}

TEST(ResampleBitmap, RunsUnderTheProgressDialogAndStopsWhenItIsCancelled) {
  const Bitmap source = RandomPicture(8, 8, 7);
  Recorder feedback;
  ASSERT_TRUE(ResampleBitmap(source, 4, 6, feedback).has_value());
  EXPECT_EQ(feedback.caption, "縮小/拡大画像作成中");
  EXPECT_EQ(feedback.maximum, 5);
  EXPECT_EQ(feedback.steps, 6);
  EXPECT_EQ(feedback.pendingEvents, 6);
  EXPECT_TRUE(feedback.messages.empty());

  for (const int cancelAfter : {0, 3}) {
    Recorder cancelled;
    cancelled.cancelAfter = cancelAfter;
    EXPECT_FALSE(ResampleBitmap(source, 4, 6, cancelled).has_value());
    EXPECT_EQ(cancelled.steps, cancelAfter);
    ASSERT_EQ(cancelled.messages.size(), 1u);
    EXPECT_EQ(cancelled.messages[0], "キャンセルしました");
  }
}

TEST(ResampleBitmap, ImpossibleSizesAreErrors) {
  const Bitmap source = RandomPicture(4, 4, 3);
  Recorder feedback;
  EXPECT_THROW(ResampleBitmap(source, 0, 5, feedback), ZeroDivideError);
  EXPECT_THROW(ResampleBitmap(source, 5, 0, feedback), ZeroDivideError);
  EXPECT_THROW(ResampleBitmap(source, -3, 5, feedback), RangeError);
  EXPECT_THROW(ResampleBitmap(source, 20000, 20000, feedback), ImageLimitError);
  try {
    ResampleBitmap(source, 65536, 10, feedback);
    ADD_FAILURE() << "no error";
  } catch (const ImageLimitError& error) {
    EXPECT_STREQ(
        error.what(),
        "A 65536 x 10 picture is beyond the limits of 65535 pixels a side and 268435456 pixels in all");
  }
  EXPECT_EQ(feedback.steps, 0);
}

TEST(MakeThumbnail, FitsTheBoxEnlargingSmallPicturesAndAnswersNothingOnErrors) {
  Recorder feedback;
  const std::optional<Bitmap> wide = MakeThumbnail(Bitmap(1000, 500), 188, feedback);
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(wide->Width(), 188);
  EXPECT_EQ(wide->Height(), 94);
  const std::optional<Bitmap> small = MakeThumbnail(Bitmap(10, 20), 148, feedback);
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(small->Width(), 74);
  EXPECT_EQ(small->Height(), 148);
  // So thin that the width truncates to nothing: the resampler's error becomes no thumbnail.
  EXPECT_FALSE(MakeThumbnail(Bitmap(1, 1000), 188, feedback).has_value());
}

}  // namespace
}  // namespace mv
