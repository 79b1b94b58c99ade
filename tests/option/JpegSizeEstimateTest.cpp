// The JPEG size estimate against the files the program's encoder really writes.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "codecs/JpegImage.h"
#include "codecs/PngImage.h"
#include "option/JpegSizeEstimate.h"
#include "platform/Numbers.h"

namespace mv {
namespace {

MvImageView ViewOf(const Bitmap& b) {
  return {b.Width(), b.Height(), static_cast<int32_t>(b.Stride()), b.Row(0)};
}

// Smooth shading, hard-edged discs at random places and sensor noise: a photograph as far as the
// encoder can tell, and nothing periodic for an even sample to fall in step with.
Bitmap PhotoLike(int width, int height) {
  Bitmap b(width, height);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> unit(0, 1);
  struct Disc {
    double x, y, radius, level;
  };
  std::vector<Disc> discs(30);
  for (Disc& d : discs)
    d = {unit(random) * width, unit(random) * height, 20 + unit(random) * 150, unit(random) * 90};
  std::normal_distribution<double> noise(0, 5);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < width; ++x) {
      double shape = 0;
      for (const Disc& d : discs) {
        if ((x - d.x) * (x - d.x) + (y - d.y) * (y - d.y) < d.radius * d.radius) shape = d.level;
      }
      for (int c = 0; c < 3; ++c) {
        const double v =
            100 + 60 * std::sin(x * 0.0061 + c) * std::cos(y * 0.0043 - c) + shape + noise(random);
        row[3 * x + c] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
      }
    }
  }
  return b;
}

double RelativeError(uint64_t estimate, std::size_t actual) {
  return std::abs(static_cast<double>(estimate) - static_cast<double>(actual)) / static_cast<double>(actual);
}

TEST(JpegSizeEstimate, ASmallImageIsEncodedWholeAndItsSizeIsExact) {
  const Bitmap picture = PhotoLike(300, 200);
  JpegSizeEstimate estimate(ViewOf(picture));
  EXPECT_TRUE(estimate.IsExact());
  for (const int quality : {1, 50, 90, 100})
    EXPECT_EQ(estimate.BytesAt(quality), EncodeJpeg(picture, quality).size());
  EXPECT_THROW(estimate.BytesAt(0), RangeError);
  EXPECT_THROW(estimate.BytesAt(101), RangeError);
}

TEST(JpegSizeEstimate, APhotographIsEstimatedWithinThreePercent) {
  const Bitmap picture = PhotoLike(2000, 1300);
  JpegSizeEstimate estimate(ViewOf(picture));
  EXPECT_FALSE(estimate.IsExact());
  for (const int quality : {10, 30, 60, 90, 98}) {
    const std::size_t actual = EncodeJpeg(picture, quality).size();
    EXPECT_LT(RelativeError(estimate.BytesAt(quality), actual), 0.03)
        << quality << ": " << estimate.BytesAt(quality) << " for " << actual;
  }
}

TEST(JpegSizeEstimate, TheSampleMicrographIsEstimatedWithinThreePercent) {
  PngImage png;
  png.LoadFromFile(MV_SAMPLE);
  const Bitmap picture = png.ToBitmap().ToBgr24();
  JpegSizeEstimate estimate(ViewOf(picture));
  EXPECT_FALSE(estimate.IsExact());  // 1200 x 900 is just above the whole-image limit
  for (const int quality : {10, 50, 90, 98}) {
    const std::size_t actual = EncodeJpeg(picture, quality).size();
    EXPECT_LT(RelativeError(estimate.BytesAt(quality), actual), 0.03)
        << quality << ": " << estimate.BytesAt(quality) << " for " << actual;
  }
}

TEST(JpegSizeEstimate, ThinPicturesAreSampledToo) {
  // Narrower or lower than a tile, beyond the whole-image limit.
  std::mt19937 random(11);
  for (const auto& [width, height] : {std::pair{20, 60000}, {60000, 20}}) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width * 3; ++x)
        picture.Row(y)[x] = static_cast<uint8_t>((x + y) / 400 + random() % 40);
    }
    JpegSizeEstimate estimate(ViewOf(picture));
    const std::size_t actual = EncodeJpeg(picture, 80).size();
    EXPECT_LT(RelativeError(estimate.BytesAt(80), actual), 0.05) << width << "x" << height;
  }
}

}  // namespace
}  // namespace mv
