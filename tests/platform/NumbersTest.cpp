#include "platform/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>

namespace mv {
namespace {

TEST(Numbers, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(3.5L), 4);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(50.5L), 50);
  EXPECT_EQ(RoundHalfEven(25.5L), 26);
  EXPECT_EQ(RoundHalfEven(2.5000001L), 3);
}

TEST(Numbers, RangeErrorsWhereAValueDoesNotFit) {
  EXPECT_THROW(RoundToInt32(2147483647.5L), RangeError);
  EXPECT_EQ(RoundToInt32(2147483646.5L), 2147483646);
  EXPECT_THROW(CheckedInt32(int64_t{1} << 31), RangeError);
  EXPECT_EQ(CheckedInt32(-(int64_t{1} << 31)), INT32_MIN);
  EXPECT_THROW(RoundHalfEven(1e30L), RangeError);
  EXPECT_THROW(TruncTowardZero(__builtin_nanl("")), RangeError);
}

TEST(Numbers, TruncatesTowardZeroAndClampsToByte) {
  EXPECT_EQ(TruncTowardZero(-3.99L), -3);
  EXPECT_EQ(ClampToByte(254.99L), 254);
  EXPECT_EQ(ClampToByte(-0.5L), 0);
  EXPECT_EQ(ClampToByte(255.0001L), 255);
  EXPECT_EQ(ClampToByte(__builtin_nanl("")), 0);
}

TEST(Numbers, ExtendedPrecisionDecidesTruncations) {
  // Contrast 0.58 maps 178 to 206 only when evaluated in 80 bits: in double it gives 207.
  const double value = 0.58;
  const Extended extended = (178 - 128) * static_cast<Extended>(value) + 178;
  EXPECT_EQ(ClampToByte(extended), 206);
}

TEST(Numbers, FormatsLikeCPercentG) {
  EXPECT_EQ(FormatG(0.75L, 3), "0.75");
  EXPECT_EQ(FormatG(0.05L, 4), "0.05");
  EXPECT_EQ(FormatG(123.4567L, 4), "123.5");
  EXPECT_EQ(FormatG(1e20L, 4), "1e+20");
  EXPECT_EQ(FormatG(1.0L / 3.0L, 15), "0.333333333333333");
  EXPECT_EQ(FormatG(100.0L, 3), "100");
}

TEST(Numbers, FormattingIgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(FormatG(0.5L, 3), "0.5");
  if (old != nullptr) std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace mv
