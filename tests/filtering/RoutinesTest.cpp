#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "RecordingFeedback.h"
#include "filtering/BitmapArithmetic.h"
#include "filtering/ColorFilters.h"
#include "filtering/MosaicBlocks.h"
#include "filtering/UnsharpMask.h"
#include "platform/ProgramFolder.h"

namespace mv {
namespace {

Bitmap RandomPicture(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 3 * w; ++x) b.Row(y)[x] = static_cast<uint8_t>(rng());
  return b;
}

Bitmap Uniform(int w, int h, ColorRef colour) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetColorAt(x, y, colour);
  return b;
}

TEST(BitmapArithmetic, EveryPairOfValuesFollowsTheRule) {
  // Every (base, other) pair, the coefficients the dialog offers and some it does not: 0.3 is a
  // little below 3/10 in binary, so 10 * 0.3 truncates to 2 in extended precision.
  Bitmap base(256, 256), other(256, 256);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      for (int c = 0; c < 3; ++c) {
        base.Row(y)[3 * x + c] = static_cast<uint8_t>(y);
        other.Row(y)[3 * x + c] = static_cast<uint8_t>(x);
      }
    }
  }
  EXPECT_EQ(ArithmeticChannel(BitmapOperation::Add, 100, 10, 0.3), 102);
  EXPECT_EQ(ArithmeticChannel(BitmapOperation::Subtract, 100, 10, 0.3), 97);
  for (const double c : {1.0, 0.1, 0.3, 0.7, 2.5, 10.0, 0.0, -0.6, 1e-9}) {
    for (const BitmapOperation operation : {BitmapOperation::Add, BitmapOperation::Subtract}) {
      Bitmap result = base;
      RecordingFeedback feedback;
      ASSERT_TRUE(BitmapArithmetic(result, other, false, operation, c, feedback));
      for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
          ASSERT_EQ(result.Row(y)[3 * x + 1],
                    ArithmeticChannel(operation, static_cast<uint8_t>(y), static_cast<uint8_t>(x), c))
              << "c " << c << " base " << y << " other " << x;
        }
      }
      EXPECT_TRUE(feedback.record.messages.empty());
      EXPECT_EQ(feedback.record.cursors, (std::vector<Cursor>{Cursor::Hourglass, Cursor::Default}));
    }
  }
}

TEST(BitmapArithmetic, RunsUnderTheProgressDialogAndReportsCancelAndFailure) {
  const Bitmap base = RandomPicture(600, 500, 1), other = RandomPicture(600, 500, 2);
  RecordingFeedback feedback;
  Bitmap sum = base;
  ASSERT_TRUE(BitmapArithmetic(sum, other, true, BitmapOperation::Add, 1.0, feedback));
  EXPECT_EQ(feedback.record.progressCaption, "ビットマップの加算の進捗状況");
  EXPECT_EQ(feedback.record.progressMaximum, 500);
  EXPECT_EQ(feedback.record.steps, 500);
  EXPECT_EQ(feedback.record.dialogsAlive, 0);

  RecordingFeedback cancelled;
  cancelled.record.cancelAfterSteps = 7;
  Bitmap difference = base;
  EXPECT_FALSE(BitmapArithmetic(difference, other, true, BitmapOperation::Subtract, 1.0, cancelled));
  EXPECT_EQ(cancelled.record.progressCaption, "ビットマップの減算の進捗状況");
  EXPECT_EQ(cancelled.record.steps, 7);
  EXPECT_EQ(cancelled.record.messages, std::vector<std::string>{"キャンセルしました"});

  RecordingFeedback failed;
  Bitmap tooLarge = RandomPicture(601, 500, 3);
  EXPECT_FALSE(BitmapArithmetic(tooLarge, other, false, BitmapOperation::Add, 1.0, failed));
  EXPECT_EQ(failed.record.messages, std::vector<std::string>{"ビットマップ演算に失敗:Range check error"});
  EXPECT_EQ(failed.record.cursors.back(), Cursor::Default);
}

TEST(MosaicBlocks, FillsEachBlockWithItsTopLeftPixelAndCutsTheLastOnesAtTheEdge) {
  const Bitmap picture = RandomPicture(25, 25, 4);
  RecordingFeedback feedback;
  BlockSettings settings;
  settings.blockSize = 10;
  settings.name = "モザイク";
  settings.showProgress = true;
  const auto result = MosaicBlocks(picture, TMozaicFilter(), settings, feedback);
  ASSERT_TRUE(result);
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 25; ++x) {
      ASSERT_EQ(result->ColorAt(x, y), picture.ColorAt(x / 10 * 10, y / 10 * 10)) << x << "," << y;
    }
  }
  EXPECT_EQ(feedback.record.progressCaption, "モザイクの進捗状況");
  EXPECT_EQ(feedback.record.progressMaximum, 25);
  EXPECT_EQ(feedback.record.steps, 3);  // one per row of blocks; the bar stops short of its maximum
  EXPECT_EQ(feedback.record.messages, std::vector<std::string>{"モザイクが完了しました"});
}

// Copies element 0 to the elements that follow it in the window (blocks depend on the scan order
// only through what they write), and returns the last non-empty element.
class SpreadFilter final : public TColorFilter {
 public:
  Pixel Apply(Window window, std::span<const int32_t> kernel, double divisor, int32_t) const override {
    EXPECT_EQ(kernel.size(), window.size());
    EXPECT_EQ(divisor, 0);
    Pixel last = *window[0];
    for (Pixel* p : window) {
      if (p == nullptr) continue;
      last = *p;
      *p = *window[0];
    }
    return last;
  }
};

TEST(MosaicBlocks, TheFillMatchesTheBlockWindowsWhateverTheThreadsAndOtherFiltersSeeTheirBlocks) {
  for (const auto& [w, h, s] : {std::tuple{97, 61, 2}, {64, 64, 100}, {1, 50, 3}, {203, 7, 9}}) {
    const Bitmap picture = RandomPicture(w, h, static_cast<unsigned>(w * h));
    RecordingFeedback feedback;
    // The reference: TMozaicFilter through a filter the engine does not recognise.
    class Wrapped final : public TColorFilter {
     public:
      Pixel Apply(Window window, std::span<const int32_t> k, double d, int32_t a) const override {
        return TMozaicFilter().Apply(window, k, d, a);
      }
    };
    BlockSettings settings;
    settings.blockSize = s;
    const auto expected = MosaicBlocks(picture, Wrapped(), settings, feedback);
    ASSERT_TRUE(expected);
    for (const int threads : {1, 2, 5}) {
      settings.threads = threads;
      EXPECT_EQ(*MosaicBlocks(picture, TMozaicFilter(), settings, feedback), *expected) << w << "x" << h;
    }
    // The returned colour lands in the block's top-left pixel.
    const auto spread = MosaicBlocks(picture, SpreadFilter(), settings, feedback);
    ASSERT_TRUE(spread);
    const int lastX = std::min(s, w) - 1, lastY = std::min(s, h) - 1;
    EXPECT_EQ(spread->ColorAt(0, 0), picture.ColorAt(lastX, lastY));
    EXPECT_EQ(spread->ColorAt(lastX, lastY), picture.ColorAt(0, 0));
  }
}

TEST(MosaicBlocks, CancelAndBadBlockSizesGiveNoResult) {
  const Bitmap picture = RandomPicture(40, 40, 5);
  RecordingFeedback cancelled;
  cancelled.record.cancelAfterSteps = 1;
  BlockSettings settings;
  settings.blockSize = 10;
  settings.name = "モザイク";
  settings.showProgress = true;
  EXPECT_FALSE(MosaicBlocks(picture, TMozaicFilter(), settings, cancelled));
  EXPECT_EQ(cancelled.record.steps, 1);
  EXPECT_EQ(cancelled.record.messages, std::vector<std::string>{"キャンセルしました"});
  EXPECT_EQ(cancelled.record.dialogsAlive, 0);

  RecordingFeedback failed;
  settings.blockSize = 0;
  EXPECT_FALSE(MosaicBlocks(picture, TMozaicFilter(), settings, failed));
  EXPECT_EQ(failed.record.messages, std::vector<std::string>{"失敗:Range check error"});
  EXPECT_EQ(failed.record.cursors.back(), Cursor::Default);
}

TEST(UnsharpMask, AFlatRegionStaysAsItIsAndHasNoEdges) {
  // Blurring a flat region changes nothing, so nothing is brighter than its surroundings: the
  // unsharp mask leaves it, edge detection shows white.
  const Bitmap flat = Uniform(30, 20, MakeColor(90, 140, 200));
  FilterRecipe box;
  box.kernelNumber = 100;
  box.size = 7;
  box.elements = 49;
  box.radius = 3;
  const TCustomFilter custom;
  box.filter = &custom;
  RecordingFeedback feedback;
  const auto kernel = FetchRecipeKernel(box, ExecutableFolder(), feedback);
  ASSERT_TRUE(kernel);
  EXPECT_EQ(kernel->divisor, 49);
  UnsharpSteps steps;
  steps.coefficient = 3.5;
  steps.caption = "アンシャープマスク";
  EXPECT_EQ(*UnsharpMask(flat, box, *kernel, steps, feedback), flat);
  EXPECT_EQ(feedback.record.messages, (std::vector<std::string>{"アンシャープマスクが完了しました",
                                                                "アンシャープマスクが完了しました"}));
  steps.variant = UnsharpVariant::EdgeDetection;
  EXPECT_EQ(*UnsharpMask(flat, box, *kernel, steps, feedback), Uniform(30, 20, MakeColor(255, 255, 255)));
}

}  // namespace
}  // namespace mv
