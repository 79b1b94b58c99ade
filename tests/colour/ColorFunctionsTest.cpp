#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

#include "colour/ColorFunctions.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

Pixel Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return Pixel{b, g, r};
}
Pixel Grey(uint8_t v) {
  return Pixel{v, v, v};
}

Pixel Apply(const TColorFunction& f, Pixel color, std::vector<int32_t> params = {}, double value = 1.0,
            int32_t mode = 0, int32_t x = 0, int32_t y = 0) {
  return f.Convert(x, y, color, params, value, mode);
}

TEST(GrayScale, TruncatesTheWeightedSumForEveryColour) {
  const TGrayScale grey;
  EXPECT_EQ(Apply(grey, Grey(255)), Grey(254));
  EXPECT_EQ(Apply(grey, Grey(0)), Grey(0));
  EXPECT_EQ(Apply(grey, Rgb(255, 0, 0)), Grey(76));
  // The extended product equals the integer quotient for every colour.
  for (int r = 0; r < 256; r += 1) {
    for (int g = 0; g < 256; g += 3) {
      for (int b = 0; b < 256; ++b) {
        const int expected = (298912 * r + 586611 * g + 114470 * b) / 1000000;
        ASSERT_EQ(Apply(grey, Rgb(r, g, b)).red, expected) << r << "," << g << "," << b;
      }
    }
  }
}

TEST(ContrastAndBrightness, ExtendedPrecisionDecidesTheTruncation) {
  const TContrastChange contrast;
  EXPECT_EQ(Apply(contrast, Rgb(178, 10, 250), {}, 0.58), Rgb(206, 0, 255));
  EXPECT_EQ(Apply(contrast, Rgb(178, 10, 250), {}, -1.0), Grey(128));
  EXPECT_EQ(Apply(contrast, Rgb(178, 10, 250), {}, 0.0), Rgb(178, 10, 250));
  const TBrightnessChange brightness;
  EXPECT_EQ(Apply(brightness, Rgb(250, 10, 100), {}, 10.9), Rgb(255, 20, 110));
  EXPECT_EQ(Apply(brightness, Rgb(250, 10, 100), {}, -10.5), Rgb(239, 0, 89));
}

TEST(GammaCorrection, OneAndNonPositiveValuesLeaveEveryLevel) {
  const TGammaCorrection gamma;
  for (int c = 0; c < 256; ++c) {
    ASSERT_EQ(Apply(gamma, Grey(c), {}, 1.0), Grey(c)) << c;
    ASSERT_EQ(Apply(gamma, Grey(c), {}, 0.0), Grey(c)) << c;
    ASSERT_EQ(Apply(gamma, Grey(c), {}, -2.0), Grey(c)) << c;
  }
  EXPECT_EQ(Apply(gamma, Rgb(64, 0, 255), {}, 2.0), Rgb(127, 0, 255));
}

TEST(BlackAndWhite, ModesCompareSumMaximumOrMinimum) {
  const TBlackAndWhite bw;
  const Pixel p = Rgb(10, 200, 30);
  for (int mode : {0, 1, 2, 7}) {
    EXPECT_EQ(Apply(bw, Grey(0), {}, 0.0, mode), Grey(255));
    EXPECT_EQ(Apply(bw, Grey(255), {}, 255.0, mode), Grey(0));
  }
  EXPECT_EQ(Apply(bw, p, {}, 100.0, 0), Grey(0));    // 240 < 300
  EXPECT_EQ(Apply(bw, p, {}, 80.0, 0), Grey(255));   // 240 >= 240
  EXPECT_EQ(Apply(bw, p, {}, 100.0, 1), Grey(255));  // max 200
  EXPECT_EQ(Apply(bw, p, {}, 100.0, 5), Grey(0));    // min 10
  EXPECT_EQ(Apply(bw, p, {}, 10.0, 5), Grey(255));
}

TEST(ChannelRearrangements, InverseExchangeXorAndOffsets) {
  EXPECT_EQ(Apply(TColorInverse(), Rgb(0, 100, 255)), Rgb(255, 155, 0));
  EXPECT_EQ(Apply(TRGBExchange(), Rgb(1, 2, 3)), Rgb(2, 3, 1));
  const TXORTrans xorTrans;
  EXPECT_EQ(Apply(xorTrans, Rgb(0x0F, 0xF0, 0x5A), {0x5A}), Rgb(0x55, 0xAA, 0x00));
  EXPECT_EQ(Apply(xorTrans, Rgb(9, 8, 7), {0}), Rgb(9, 8, 7));
  EXPECT_THROW(Apply(xorTrans, Rgb(9, 8, 7), {256}), RangeError);
  EXPECT_THROW(Apply(xorTrans, Rgb(9, 8, 7), {-1}), RangeError);
  EXPECT_THROW(Apply(xorTrans, Rgb(9, 8, 7), {}), RangeError);

  const TRGBEachOffset offsets;
  EXPECT_EQ(Apply(offsets, Rgb(10, 20, 30), {-20, 240, 5}), Rgb(0, 255, 35));
  EXPECT_THROW(Apply(offsets, Rgb(10, 20, 30), {1, 2}), RangeError);
  EXPECT_THROW(Apply(offsets, Rgb(10, 20, 30), {INT_MAX, 0, 0}), RangeError);
  EXPECT_EQ(Apply(offsets, Rgb(0, 20, 30), {INT_MAX, 0, 0}), Rgb(255, 20, 30));
}

// Level tables written as (first value of a band, output) from the dialog's documentation.
std::array<int, 256> LevelTable(std::vector<std::pair<int, int>> bands) {
  std::array<int, 256> table{};
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const int end = i + 1 < bands.size() ? bands[i + 1].first : 256;
    for (int c = bands[i].first; c < end; ++c) table[static_cast<std::size_t>(c)] = bands[i].second;
  }
  return table;
}

TEST(Posterization, LevelTablesOverAllValues) {
  const TPosterization posterize;
  const std::pair<int, std::array<int, 256>> cases[] = {
      {2, LevelTable({{0, 0}, {127, 191}, {129, 255}})},
      {3, LevelTable({{0, 0}, {85, 127}, {172, 255}})},
      {4, LevelTable({{0, 0}, {63, 95}, {127, 159}, {193, 255}})},
      {6, LevelTable({{0, 0}, {42, 63}, {85, 106}, {128, 149}, {171, 192}, {215, 255}})},
  };
  for (const auto& [levels, table] : cases) {
    for (int c = 0; c < 256; ++c) {
      const Pixel out = Apply(posterize, Rgb(c, 255 - c, c), {levels});
      ASSERT_EQ(out.red, table[static_cast<std::size_t>(c)]) << "n=" << levels << " c=" << c;
      ASSERT_EQ(out.green, table[static_cast<std::size_t>(255 - c)]) << "n=" << levels << " c=" << c;
    }
  }
  for (int levels = 1; levels <= 300; ++levels) {
    for (int c = 0; c < 256; c += 5) {
      const Pixel out = Apply(posterize, Grey(c), {levels});
      ASSERT_EQ(out, Grey(out.red));
    }
  }
  try {
    Apply(posterize, Grey(3), {0});
    FAIL() << "no error for zero levels";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Division by zero");
  }
  EXPECT_THROW(Apply(posterize, Grey(3), {-4}), RangeError);
}

TEST(Solarization, WaveShapes) {
  const TSolarization solarize;
  for (int k = 1; k <= 255; ++k) {
    for (int c = 0; c < 256; ++c) ASSERT_LE(Apply(solarize, Grey(c), {}, k, 0).red, 127) << k << " " << c;
  }
  // k = 2, c = 100: p = 200, q = 1 (odd).
  EXPECT_EQ(Apply(solarize, Grey(100), {}, 2.0, 0).red, 255 - 200);
  EXPECT_EQ(Apply(solarize, Grey(100), {}, 2.0, 1).red, (400 % 256));
  EXPECT_EQ(Apply(solarize, Grey(0), {}, 2.0, 1).red, 255);
  EXPECT_EQ(Apply(solarize, Grey(200), {}, 2.0, 2).red, 400 % 256);
  EXPECT_EQ(Apply(solarize, Grey(200), {}, 2.0, 3).red, 255 - 400 % 256);
  EXPECT_EQ(Apply(solarize, Grey(0), {}, 1.0, 4).red, 128);  // 127.5 rounds to the even 128
  EXPECT_EQ(Apply(solarize, Grey(0), {}, 1.0, 5).red, 255);
  EXPECT_EQ(Apply(solarize, Grey(100), {}, 2.5, 2),
            Apply(solarize, Grey(100), {}, 2.0, 2));  // k rounds to even
  EXPECT_EQ(Apply(solarize, Grey(100), {}, 2.0, 9), Apply(solarize, Grey(100), {}, 2.0, 0));
  EXPECT_THROW(Apply(solarize, Grey(100), {}, -1.0, 2), RangeError);
}

TEST(ExpandShrink, StretchesOnlyTheSelectedChannels) {
  const TExpandShrinkRGB stretch;
  EXPECT_EQ(Apply(stretch, Rgb(75, 75, 75), {50, 100, 0, 0}), Grey(127));
  EXPECT_EQ(Apply(stretch, Rgb(75, 75, 75), {50, 100, 1, 0}), Rgb(127, 75, 75));
  EXPECT_EQ(Apply(stretch, Rgb(75, 75, 75), {50, 100, 3, 0}), Rgb(75, 75, 127));
  EXPECT_EQ(Apply(stretch, Rgb(40, 255, 0), {50, 100, 0, 0}), Rgb(0, 255, 0));
  EXPECT_EQ(Apply(stretch, Rgb(255, 0, 128), {100, 200, 0, 1}), Rgb(200, 100, 150));
  EXPECT_EQ(Apply(stretch, Rgb(1, 2, 3), {100, 200, 0, 2}), Rgb(1, 2, 3));
  EXPECT_THROW(Apply(stretch, Rgb(1, 2, 3), {100, 100, 0, 0}), DivisionByZeroError);
  EXPECT_THROW(Apply(stretch, Rgb(1, 2, 3), {100, 100, 0}), RangeError);
}

TEST(RangeLimit, FillColourAndTestedChannel) {
  const TRGBRangeLimit limit;
  const Pixel p = Rgb(10, 100, 200);
  EXPECT_EQ(Apply(limit, p, {50, 150}, 0.0, 1), Grey(0));
  EXPECT_EQ(Apply(limit, p, {50, 150}, 1e-13, 1), Grey(0));
  EXPECT_EQ(Apply(limit, p, {50, 150}, 0.5, 1), Grey(255));
  EXPECT_EQ(Apply(limit, p, {50, 150}, 0.5, 2), p);
  EXPECT_EQ(Apply(limit, p, {50, 150}, 0.5, 3), Grey(255));
  EXPECT_EQ(Apply(limit, p, {100, 150}, 0.5, 0), p);  // sum 310 within 300..450
  EXPECT_EQ(Apply(limit, p, {104, 150}, 0.5, 0), Grey(255));
}

TEST(SinTrans, RippleAroundTheCentre) {
  const TSinTrans ripple;
  // At the centre cos(0) = 1: a third of the amplitude in both modes.
  EXPECT_EQ(Apply(ripple, Rgb(100, 0, 250), {5, 7, 4, 30}, 1.0, 0, 5, 7), Rgb(110, 10, 255));
  EXPECT_EQ(Apply(ripple, Rgb(100, 0, 250), {5, 7, 4, 30}, 1.0, 1, 5, 7), Rgb(110, 10, 255));
  // d = 5 (3-4-5), mode 1: cos(2 * 5) * 30 / 3 = -8.39.
  EXPECT_EQ(Apply(ripple, Grey(100), {0, 0, 2, 30}, 1.0, 1, 3, 4), Grey(91));
  EXPECT_THROW(Apply(ripple, Grey(100), {0, 0, 0, 30}, 1.0, 0, 0, 0), InvalidFloatOperation);
  EXPECT_THROW(Apply(ripple, Grey(100), {0, 0, 0, 30}, 1.0, 0, 3, 4), ZeroDivideError);
  EXPECT_THROW(Apply(ripple, Grey(100), {0, 0, 0}, 1.0, 0), RangeError);
  EXPECT_THROW(Apply(ripple, Grey(100), {0, 0, 1, 1}, 1.0, 0, 40000, 40000), RangeError);
}

}  // namespace
}  // namespace mv
