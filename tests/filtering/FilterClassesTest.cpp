#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "filtering/ColorFilters.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

Pixel Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return Pixel{b, g, r};
}
Pixel Grey(uint8_t v) {
  return Pixel{v, v, v};
}

// A 3 x 3 window over its own nine pixels.
struct Window3 {
  std::array<Pixel, 9> pixels;
  std::array<Pixel*, 9> refs;
  explicit Window3(Pixel fill = {}) {
    pixels.fill(fill);
    for (std::size_t i = 0; i < 9; ++i) refs[i] = &pixels[i];
  }
  Window View() const { return refs; }
};

using Kernel = std::vector<int32_t>;

std::vector<int32_t> Centre(int32_t weight) {
  return {0, 0, 0, 0, weight, 0, 0, 0, 0};
}

TEST(CustomFilter, SumsDividesAddsTheOffsetAndTruncates) {
  const TCustomFilter filter;
  const Window3 uniform(Rgb(200, 100, 7));
  EXPECT_EQ(filter.Apply(uniform.View(), std::vector<int32_t>(9, 1), 9, 0), Rgb(200, 100, 7));
  EXPECT_EQ(filter.Apply(uniform.View(), Kernel{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 0), Grey(0));
  EXPECT_EQ(filter.Apply(uniform.View(), Kernel{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 128), Grey(128));

  Window3 w(Grey(0));
  w.pixels[4] = Rgb(7, 179, 255);
  w.pixels[0] = Rgb(0, 0, 9);
  EXPECT_EQ(filter.Apply(w.View(), Centre(-1), 2, 0).red, 0);                              // -3.5
  EXPECT_EQ(filter.Apply(w.View(), Centre(1), 10, 0).green, 17);                           // 17.9
  EXPECT_EQ(filter.Apply(w.View(), Kernel{1, 0, 0, 0, 10, 0, 0, 0, 0}, 10, 0).blue, 255);  // 255.9
  EXPECT_EQ(filter.Apply(w.View(), Centre(1), 0.5, -100).green, 255);

  EXPECT_THROW(filter.Apply(w.View(), std::vector<int32_t>(8, 1), 1, 0), RangeError);
  EXPECT_THROW(filter.Apply(w.View(), Centre(1), 0, 0), ZeroDivideError);
  EXPECT_THROW(filter.Apply(Window3(Grey(0)).View(), Centre(1), 0, 0), InvalidFloatOperation);
  EXPECT_THROW(filter.Apply(w.View(), Centre(10000000), 1, 0), RangeError);  // 32-bit product overflow
}

TEST(LineArtFilter, ThreeWaysToCombineTheDifferences) {
  const TLineArtFilter filter;
  Window3 w(Grey(0));
  w.pixels[0] = Grey(10);       // brightness 30
  w.pixels[1] = Rgb(40, 0, 0);  // brightness 40
  std::vector<int32_t> kernel(18, 0);
  kernel[0] = 1;                                              // dX = 30
  kernel[9 + 1] = -1;                                         // dY = -40
  EXPECT_EQ(filter.Apply(w.View(), kernel, 1, 0), Grey(0));   // -10 / 3
  EXPECT_EQ(filter.Apply(w.View(), kernel, 1, 1), Grey(10));  // max(10, -13.3)
  EXPECT_EQ(filter.Apply(w.View(), kernel, 1, 2), Grey(16));  // 50 / 3
  EXPECT_EQ(filter.Apply(w.View(), kernel, 0.5, 7), Grey(33));
  EXPECT_THROW(filter.Apply(w.View(), std::vector<int32_t>(17, 0), 1, 0), RangeError);
  EXPECT_THROW(filter.Apply(w.View(), kernel, 0, 2), ZeroDivideError);
}

TEST(MedianFilter, RankByBrightnessFirstInWindowOrder) {
  const TMedianFilter filter;
  Window3 w;
  const uint8_t levels[9] = {50, 10, 90, 30, 70, 20, 80, 60, 40};
  for (std::size_t i = 0; i < 9; ++i) w.pixels[i] = Rgb(levels[i], 0, 0);
  EXPECT_EQ(filter.Apply(w.View(), {}, 0, 0), Rgb(10, 0, 0));
  EXPECT_EQ(filter.Apply(w.View(), {}, 8, 0), Rgb(90, 0, 0));
  EXPECT_EQ(filter.Apply(w.View(), {}, 4.99, 0), Rgb(50, 0, 0));
  // Two neighbours share the chosen brightness: the earlier one in window order is returned whole.
  w.pixels[2] = Rgb(0, 25, 25);
  w.pixels[7] = Rgb(50, 0, 0);
  w.pixels[0] = Rgb(10, 20, 20);
  EXPECT_EQ(filter.Apply(w.View(), {}, 4, 0), Rgb(10, 20, 20));
  EXPECT_THROW(filter.Apply(w.View(), {}, 9, 0), RangeError);
  EXPECT_THROW(filter.Apply(w.View(), {}, -1, 0), RangeError);
}

TEST(ErrorDiffusionFilter, DarkensTheLaterNeighboursByTheLocalDeviation) {
  const TErrorDiffusionFilter filter;
  const std::vector<int32_t> pattern13{0, 0, 0, 0, 16, -4, -4, -4, -4};
  Window3 uniform(Rgb(100, 150, 200));
  EXPECT_EQ(filter.Apply(uniform.View(), pattern13, 1, 0), Rgb(100, 150, 200));
  for (const Pixel& p : uniform.pixels) EXPECT_EQ(p, Rgb(100, 150, 200));

  Window3 w(Grey(100));
  w.pixels[4] = Grey(200);
  // deviation sqrt(8 * 100^2) / 8 = 35.36; later neighbours: 100 - 4 * 35.36 / 16 = 91.2
  EXPECT_EQ(filter.Apply(w.View(), pattern13, 1, 0), Grey(200));
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(w.pixels[i], Grey(100)) << i;
  for (std::size_t i = 5; i < 9; ++i) EXPECT_EQ(w.pixels[i], Grey(91)) << i;
  EXPECT_THROW(filter.Apply(w.View(), std::vector<int32_t>(8, 0), 1, 0), RangeError);
}

TEST(MozaicFilter, FillsEveryPresentElementWithTheFirst) {
  const TMozaicFilter filter;
  Window3 w(Grey(9));
  w.pixels[0] = Rgb(255, 0, 0);
  w.refs[3] = nullptr;
  w.refs[8] = nullptr;
  EXPECT_EQ(filter.Apply(w.View(), {}, 0, 0), Rgb(255, 0, 0));
  for (std::size_t i : {0, 1, 2, 4, 5, 6, 7}) EXPECT_EQ(w.pixels[i], Rgb(255, 0, 0)) << i;
  EXPECT_EQ(w.pixels[3], Grey(9));
  EXPECT_EQ(w.pixels[8], Grey(9));
}

}  // namespace
}  // namespace mv
