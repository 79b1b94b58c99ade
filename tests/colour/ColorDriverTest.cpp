#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "colour/ColorRows.h"
#include "filtering/RecordingFeedback.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

// Random pixels, and (where there is room) every grey level and every level of one channel among
// random others, so each table entry is read. 71 pixels a row: three 64-byte blocks of every byte
// phase and a short tail.
Bitmap TestPicture(unsigned seed, int width = 71, int height = 8) {
  std::mt19937 random(seed);
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = picture.Row(y);
    for (int i = 0; i < 3 * width; ++i) row[i] = static_cast<uint8_t>(random());
  }
  for (int level = 0; level < 256 && 2 * level + 1 < width * height; ++level) {
    uint8_t* grey = picture.Row(2 * level / width) + 3 * (2 * level % width);
    grey[0] = grey[1] = grey[2] = static_cast<uint8_t>(level);
    uint8_t* other = picture.Row((2 * level + 1) / width) + 3 * ((2 * level + 1) % width);
    other[level % 3] = static_cast<uint8_t>(255 - level);
  }
  return picture;
}

Bitmap Converted(const Bitmap& picture, const ColorRow& convert) {
  Bitmap result = picture;
  for (int y = 0; y < result.Height(); ++y) convert(result.Row(y), result.Width(), y);
  return result;
}

struct Case {
  std::vector<int32_t> params;
  double value;
  int32_t mode;
};

// Every case through the plain and the fastest routines against Convert for every pixel.
void ExpectFastPathsMatch(const TColorFunction& func, const std::vector<Case>& cases,
                          const std::string& what) {
  const Bitmap picture = TestPicture(static_cast<unsigned>(cases.size()));
  for (const Case& c : cases) {
    const Bitmap expected = Converted(picture, ReferenceColorRow(func, c.params, c.value, c.mode));
    for (const RowKernels kernels : {RowKernels::Plain, RowKernels::Fastest}) {
      const Bitmap fast = Converted(picture, MakeColorRow(func, c.params, c.value, c.mode, kernels));
      ASSERT_TRUE(fast == expected) << what << " value " << c.value << " mode " << c.mode << " params "
                                    << (c.params.empty() ? 0 : c.params[0])
                                    << (kernels == RowKernels::Plain ? " (plain)" : " (fastest)");
    }
  }
}

std::vector<Case> SliderCases(int low, int high, const std::function<Case(int)>& make) {
  std::vector<Case> cases;
  for (int s = low; s <= high; ++s) cases.push_back(make(s));
  return cases;
}

TEST(ColorDriverFastPaths, TableOperationsMatchAtEverySliderValue) {
  ExpectFastPathsMatch(TBrightnessChange(),
                       SliderCases(-255, 255,
                                   [](int s) {
                                     return Case{{0, 0, 0}, double(s), 0};
                                   }),
                       "brightness");
  ExpectFastPathsMatch(TGammaCorrection(),
                       SliderCases(0, 1000,
                                   [](int s) {
                                     return Case{{0, 0, 0}, s / 100.0, 0};
                                   }),
                       "gamma");
  ExpectFastPathsMatch(TContrastChange(),
                       SliderCases(-100, 500,
                                   [](int s) {
                                     return Case{{0, 0, 0}, s / 100.0, 0};
                                   }),
                       "contrast");
  ExpectFastPathsMatch(TPosterization(),
                       SliderCases(2, 255,
                                   [](int s) {
                                     return Case{{s}, 1.0, 0};
                                   }),
                       "posterization");
  ExpectFastPathsMatch(TXORTrans(), SliderCases(0, 255, [](int s) { return Case{{s}, 1.0, 0}; }), "xor");
  for (int mode : {0, 1, 2, 3, 4, 5, 9}) {
    ExpectFastPathsMatch(TSolarization(),
                         SliderCases(1, 255,
                                     [mode](int s) {
                                       return Case{{s}, double(s), mode};
                                     }),
                         "solarization");
  }
  ExpectFastPathsMatch(TColorInverse(), {Case{{0, 0, 0}, 1.0, 0}}, "inversion");
}

TEST(ColorDriverFastPaths, PerChannelTablesMatch) {
  // Each offset at every slider value, the other two channels offset differently.
  ExpectFastPathsMatch(TRGBEachOffset(),
                       SliderCases(-255, 255,
                                   [](int s) {
                                     return Case{{s, -s / 2, 255 - (s + 255) / 2}, 1.0, 0};
                                   }),
                       "offsets");
  std::vector<Case> stretches;
  for (int channel = 0; channel <= 4; ++channel) {
    for (int operation = 0; operation <= 2; ++operation) {
      for (const auto& [lo, hi] :
           std::vector<std::pair<int, int>>{{50, 200}, {0, 255}, {10, 11}, {200, 50}}) {
        stretches.push_back(Case{{lo, hi, channel, operation}, 1.0, 0});
      }
    }
  }
  ExpectFastPathsMatch(TExpandShrinkRGB(), stretches, "histogram stretch");
}

TEST(ColorDriverFastPaths, GreyScaleMatchesForEveryColour) {
  // 4096 x 4096 pixels would hold every colour once; every colour with its green in steps of 5 here.
  Bitmap colours(256 * 52, 256);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < colours.Width(); ++x) {
      uint8_t* pixel = colours.Row(y) + 3 * x;
      pixel[0] = static_cast<uint8_t>(x % 256);
      pixel[1] = static_cast<uint8_t>(std::min(255, (x / 256) * 5));
      pixel[2] = static_cast<uint8_t>(y);
    }
  }
  const TGrayScale grey;
  const Bitmap expected = Converted(colours, ReferenceColorRow(grey, {}, 1.0, 0));
  for (const RowKernels kernels : {RowKernels::Plain, RowKernels::Fastest}) {
    EXPECT_TRUE(Converted(colours, MakeColorRow(grey, {}, 1.0, 0, kernels)) == expected);
  }
  ExpectFastPathsMatch(grey, {Case{{0, 0, 0}, 1.0, 0}}, "grey");
}

TEST(ColorDriverFastPaths, BinarizationAndExchangeMatch) {
  for (int mode : {0, 1, 2, 7}) {
    ExpectFastPathsMatch(TBlackAndWhite(),
                         SliderCases(0, 255,
                                     [mode](int s) {
                                       return Case{{0, 0, 0}, double(s), mode};
                                     }),
                         "binarization");
  }
  // Thresholds between whole numbers, as the driver may be given.
  ExpectFastPathsMatch(TBlackAndWhite(),
                       {Case{{}, 100.4, 0}, Case{{}, 100.5, 1}, Case{{}, 0.25, 2}, Case{{}, -3, 0}},
                       "binarization");
  ExpectFastPathsMatch(TRGBExchange(), {Case{{}, 1.0, 0}}, "exchange");
}

TEST(ColorDriverFastPaths, WavesMatchTheRuleWhereverTheirCentreAndSettings) {
  // Centres inside, on the edge and far outside the picture, both modes, the sliders' ends and the
  // previews' distance scales; amplitudes divisible by 3 put whole offsets at the centre.
  const TSinTrans wave;
  std::mt19937 random(31);
  std::uniform_int_distribution<int> centre(-400, 700), wavelength(1, 1000), amplitude(0, 255);
  std::vector<Case> cases;
  for (const int length : {1, 2, 10, 1000}) {
    for (const int strength : {0, 3, 127, 255}) {
      cases.push_back({{150, 90, length, strength}, 1.0, 0});
      cases.push_back({{0, 199, length, strength}, 1.0, 1});
    }
  }
  for (int i = 0; i < 40; ++i) {
    const double scale = i % 3 == 0 ? 1.0 : i % 3 == 1 ? 1 / 0.47 : 1 / 3.76;
    cases.push_back({{centre(random), centre(random), wavelength(random), amplitude(random)}, scale, i % 2});
  }
  const Bitmap picture = TestPicture(3, 201, 130);
  for (const Case& c : cases) {
    const Bitmap expected = Converted(picture, ReferenceColorRow(wave, c.params, c.value, c.mode));
    for (const RowKernels kernels : {RowKernels::Plain, RowKernels::Fastest}) {
      const Bitmap fast = Converted(picture, MakeColorRow(wave, c.params, c.value, c.mode, kernels));
      ASSERT_TRUE(fast == expected) << "centre " << c.params[0] << "," << c.params[1] << " wavelength "
                                    << c.params[2] << " amplitude " << c.params[3] << " mode " << c.mode;
    }
  }
  // A centre so far away that the squared distance overflows raises as the rule does; a zero
  // wavelength divides by zero.
  Bitmap far = picture;
  EXPECT_THROW(Converted(far, MakeColorRow(wave, std::vector<int32_t>{50000, 0, 10, 100}, 1.0, 0)),
               RangeError);
  EXPECT_THROW(Converted(far, MakeColorRow(wave, std::vector<int32_t>{5, 5, 0, 100}, 1.0, 0)),
               ZeroDivideError);
}

TEST(ColorDriverFastPaths, AnOperationThatRaisesForSomeLevelsRaisesOnlyWhereThePictureHasThem) {
  // k * c overflows 32 bits from c = 2 on: a picture of 0s and 1s converts, one with a 2 raises.
  const TSolarization solarization;
  const std::vector<int32_t> params{1};
  RecordingFeedback feedback;
  Bitmap low(100, 3);
  for (int y = 0; y < 3; ++y) low.Row(y)[y] = 1;
  EXPECT_TRUE(ApplyColorFunction(low, solarization, "", false, 0, params, 1 << 30, feedback));
  Bitmap high = low;
  high.Row(2)[7] = 2;
  EXPECT_THROW(ApplyColorFunction(high, solarization, "", false, 2, params, 1 << 30, feedback), RangeError);
}

TEST(ApplyColorFunction, ConvertsEveryRowInPlaceAndSaysSo) {
  const TColorInverse inverse;
  const std::vector<int32_t> params{0, 0, 0};
  // Large enough to be shared by the processors.
  const Bitmap picture = TestPicture(5, 700, 500);
  Bitmap bitmap = picture;
  RecordingFeedback feedback;
  ASSERT_TRUE(ApplyColorFunction(bitmap, inverse, "反転", false, 0, params, 1.0, feedback));
  EXPECT_TRUE(bitmap == Converted(picture, ReferenceColorRow(inverse, params, 1.0, 0)));
  EXPECT_EQ(feedback.record.messages, std::vector<std::string>{"反転が完了しました"});
  EXPECT_EQ(feedback.record.cursors, (std::vector<Cursor>{Cursor::Hourglass, Cursor::Default}));
  EXPECT_EQ(feedback.record.progressMaximum, -1);

  // An empty name says nothing; an 8-bit picture becomes 24-bit first.
  Bitmap indexed(3, 2, PixelFormat::Indexed8);
  indexed.SetPalette({{10, 20, 30, 0}, {200, 100, 0, 0}});
  indexed.SetIndexAt(1, 1, 1);
  RecordingFeedback quiet;
  ASSERT_TRUE(ApplyColorFunction(indexed, inverse, "", false, 0, params, 1.0, quiet));
  EXPECT_TRUE(quiet.record.messages.empty());
  EXPECT_EQ(indexed.Format(), PixelFormat::Bgr24);
  EXPECT_EQ(indexed.ColorAt(0, 0), MakeColor(225, 235, 245));
  EXPECT_EQ(indexed.ColorAt(1, 1), MakeColor(255, 155, 55));
}

TEST(ApplyColorFunction, FollowsTheProgressProtocolAndStopsWhenCancelled) {
  const TGrayScale grey;
  const Bitmap picture = TestPicture(9, 20, 8);
  Bitmap bitmap = picture;
  RecordingFeedback feedback;
  ASSERT_TRUE(ApplyColorFunction(bitmap, grey, "グレースケール", true, 0, {}, 1.0, feedback));
  EXPECT_EQ(feedback.record.progressCaption, "グレースケールの進捗状況");
  EXPECT_EQ(feedback.record.progressMaximum, 8);
  EXPECT_EQ(feedback.record.steps, 8);
  EXPECT_EQ(feedback.record.pendingEventCalls, 8);
  EXPECT_EQ(feedback.record.dialogsAlive, 0);
  EXPECT_EQ(feedback.record.messages, std::vector<std::string>{"グレースケールが完了しました"});

  for (const int cancelAfter : {0, 3}) {
    RecordingFeedback cancelled;
    cancelled.record.cancelAfterSteps = cancelAfter;
    Bitmap copy = picture;
    EXPECT_FALSE(ApplyColorFunction(copy, grey, "グレースケール", true, 0, {}, 1.0, cancelled));
    EXPECT_EQ(cancelled.record.steps, cancelAfter);
    EXPECT_EQ(cancelled.record.messages, std::vector<std::string>{"キャンセルしました"});
    EXPECT_EQ(cancelled.record.dialogsAlive, 0);
    EXPECT_EQ(cancelled.record.cursors.back(), Cursor::Default);
    // Rows after the cancel are untouched.
    EXPECT_EQ(std::vector<uint8_t>(copy.Row(cancelAfter), copy.Row(cancelAfter) + 60),
              std::vector<uint8_t>(picture.Row(cancelAfter), picture.Row(cancelAfter) + 60));
  }
}

TEST(ApplyColorFunction, AnErrorOfTheOperationEscapesWithTheCursorRestored) {
  const TPosterization posterization;
  const std::vector<int32_t> noLevels{0};
  for (const bool progress : {false, true}) {
    Bitmap bitmap = TestPicture(3, 600, 500);
    RecordingFeedback feedback;
    EXPECT_THROW(
        ApplyColorFunction(bitmap, posterization, "ポスタリゼーション", progress, 0, noLevels, 1.0, feedback),
        DivisionByZeroError);
    EXPECT_EQ(feedback.record.cursors.back(), Cursor::Default);
    EXPECT_EQ(feedback.record.dialogsAlive, 0);
    EXPECT_TRUE(feedback.record.messages.empty());
  }
}

}  // namespace
}  // namespace mv
