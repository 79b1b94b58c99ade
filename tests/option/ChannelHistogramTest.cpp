// The counting behind the histogram dialogs against a straightforward count, the luminance against
// the program's grey-scale command, and the figures the dialogs show.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "colour/ColorFunctions.h"
#include "option/ChannelHistogram.h"
#include "option/LevelStatistics.h"
#include "option/RedLuminanceRow.h"

namespace mv {
namespace {

// Rows of `width` pixels `stride` bytes apart, with bytes of their own in the gaps.
struct Picture {
  int width, height, stride;
  std::vector<uint8_t> bytes;
  MvImageView View() const { return {width, height, stride, bytes.data()}; }
};

Picture RandomPicture(int width, int height, int gap, std::mt19937& random, int levels = 256) {
  Picture p{width, height, width * 3 + gap, {}};
  p.bytes.resize(static_cast<std::size_t>(p.stride) * height);
  for (auto& byte : p.bytes) byte = static_cast<uint8_t>(random() % levels);
  return p;
}

ChannelHistograms StraightforwardCount(const Picture& p) {
  ChannelHistograms h;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* pixel = p.bytes.data() + static_cast<std::size_t>(y) * p.stride + 3 * x;
      ++h.counts[0][pixel[2]];
      ++h.counts[1][pixel[1]];
      ++h.counts[2][pixel[0]];
      ++h.counts[3][(298912u * pixel[2] + 586611u * pixel[1] + 114470u * pixel[0]) / 1000000u];
    }
  }
  return h;
}

TEST(CountChannels, EqualsAStraightforwardCountForAnySizeStrideAndThreadCount) {
  std::mt19937 random(7);
  // Widths around the vector unit's eight pixels and its read past them, a single pixel, a
  // single row and column, few levels (long runs of equal pairs) and a wide picture.
  const std::vector<std::tuple<int, int, int, int>> shapes = {
      {1, 1, 0, 256},  {1, 1, 5, 256},    {7, 3, 1, 256},    {8, 2, 0, 256},  {9, 5, 3, 256},
      {10, 4, 0, 256}, {11, 4, 2, 256},   {17, 9, 0, 256},   {1, 40, 2, 256}, {300, 1, 0, 256},
      {64, 33, 4, 3},  {129, 70, 1, 256}, {1000, 13, 0, 256}};
  for (const auto& [width, height, gap, levels] : shapes) {
    const Picture picture = RandomPicture(width, height, gap, random, levels);
    const ChannelHistograms expected = StraightforwardCount(picture);
    for (const int threads : {1, 2, 3, 8}) {
      EXPECT_EQ(CountChannels(picture.View(), threads).counts, expected.counts)
          << width << "x" << height << " gap " << gap << " threads " << threads;
    }
  }
}

TEST(CountChannels, AUniformPictureFillsOneLevelPerChannel) {
  Picture p{5, 4, 15, std::vector<uint8_t>(60)};
  for (std::size_t i = 0; i < p.bytes.size(); i += 3) {
    p.bytes[i] = 30;       // blue
    p.bytes[i + 1] = 60;   // green
    p.bytes[i + 2] = 250;  // red
  }
  const ChannelHistograms h = CountChannels(p.View());
  EXPECT_EQ(h.Of(Channel::Red)[250], 20u);
  EXPECT_EQ(h.Of(Channel::Green)[60], 20u);
  EXPECT_EQ(h.Of(Channel::Blue)[30], 20u);
  EXPECT_EQ(h.Of(Channel::Luminance)[LuminanceOf(250, 60, 30)], 20u);
}

TEST(RedLuminanceRow, PairsRedWithTheGreyScaleCommandsLevelForEveryColour) {
  // Every colour once: a row per red and green pair, blue along it.
  std::vector<uint8_t> row(256 * 3);
  std::vector<uint16_t> fast(256), plain(256);
  const TGrayScale grey;
  for (int red = 0; red < 256; ++red) {
    for (int green = 0; green < 256; ++green) {
      for (int blue = 0; blue < 256; ++blue) {
        row[3 * blue] = uint8_t(blue);
        row[3 * blue + 1] = uint8_t(green);
        row[3 * blue + 2] = uint8_t(red);
      }
      RedLuminanceRow(row.data(), 256, fast.data());
      RedLuminanceRowPlain(row.data(), 256, plain.data());
      ASSERT_EQ(fast, plain) << "red " << red << " green " << green;
      for (const int blue : {0, 1, 127, 254, 255}) {
        const Pixel p{uint8_t(blue), uint8_t(green), uint8_t(red)};
        ASSERT_EQ(plain[blue], red * 256 + grey.Convert(0, 0, p, {}, 1.0, 0).red)
            << red << ' ' << green << ' ' << blue;
      }
    }
  }
}

TEST(LevelStatistics, MeanMedianDeviationAndExtremes) {
  LevelCounts counts{};
  counts[10] = 1;
  counts[20] = 2;
  counts[40] = 1;
  const LevelStatistics s = StatisticsOf(counts);
  EXPECT_EQ(s.pixels, 4u);
  EXPECT_DOUBLE_EQ(s.mean, 22.5);
  EXPECT_EQ(s.median, 20);
  EXPECT_DOUBLE_EQ(s.deviation, std::sqrt((12.5 * 12.5 + 2 * 2.5 * 2.5 + 17.5 * 17.5) / 4));
  EXPECT_EQ(s.minimum, 10);
  EXPECT_EQ(s.maximum, 40);
  // With an even count the lower of the two middle levels.
  counts = {};
  counts[3] = 2;
  counts[200] = 2;
  EXPECT_EQ(StatisticsOf(counts).median, 3);
  counts[200] = 3;
  EXPECT_EQ(StatisticsOf(counts).median, 200);
}

TEST(LevelStatistics, OnePixelAndNoPixels) {
  LevelCounts counts{};
  counts[255] = 1;
  const LevelStatistics one = StatisticsOf(counts);
  EXPECT_EQ(one.median, 255);
  EXPECT_EQ(one.minimum, 255);
  EXPECT_EQ(one.deviation, 0.0);
  const LevelStatistics none = StatisticsOf(LevelCounts{});
  EXPECT_EQ(none.pixels, 0u);
  EXPECT_EQ(none.minimum, 0);
  EXPECT_EQ(none.maximum, 0);
}

TEST(LevelStatistics, PixelsBetweenCountsBothBounds) {
  LevelCounts counts{};
  for (int level = 0; level < 256; ++level) counts[level] = 1;
  EXPECT_EQ(PixelsBetween(counts, 50, 200), 151u);
  EXPECT_EQ(PixelsBetween(counts, 100, 100), 1u);
  EXPECT_EQ(PixelsBetween(counts, 200, 50), 0u);
  EXPECT_EQ(PixelsBetween(counts, -5, 300), 256u);
}

}  // namespace
}  // namespace mv
