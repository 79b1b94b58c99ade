#include "colour/Transform.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "platform/Geometry.h"

namespace mv {
namespace {

// A picture whose every pixel differs, in the given format.
Bitmap Distinct(int width, int height, PixelFormat format) {
  Bitmap picture(width, height, format);
  if (IsIndexed(format)) {
    std::vector<PaletteEntry> palette;
    for (int i = 0; i < 256; ++i)
      palette.push_back(
          {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
    picture.SetPalette(palette);
  }
  int n = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, ++n) {
      if (IsIndexed(format))
        picture.SetIndexAt(x, y, n % 256);
      else
        picture.SetColorAt(x, y, MakeColor(static_cast<uint8_t>(n * 8), static_cast<uint8_t>(n >> 2), 200));
    }
  }
  return picture;
}

// The rule: where destination pixel (x, y) of a W x H destination comes from.
Point SourceOf(int code, int x, int y, int w, int h) {
  switch (code) {
    case 0:
      return {y, w - 1 - x};
    case 1:
      return {h - 1 - y, x};
    case 2:
      return {w - 1 - x, y};
    default:
      return {x, h - 1 - y};
  }
}

TEST(TransformPixels, EveryPixelLandsWhereTheRuleSaysInEveryFormat) {
  // Sizes past one 64-pixel tile, so tile edges are crossed.
  for (const PixelFormat format :
       {PixelFormat::Indexed8, PixelFormat::Rgb555, PixelFormat::Bgr24, PixelFormat::Bgrx32}) {
    const Bitmap source = Distinct(70, 67, format);
    for (int code = 0; code < 4; ++code) {
      const Bitmap result = TransformPixels(code, source);
      ASSERT_EQ(result.Format(), format);
      EXPECT_EQ(result.Palette(), source.Palette());
      const bool swap = code < 2;
      ASSERT_EQ(result.Width(), swap ? 67 : 70);
      ASSERT_EQ(result.Height(), swap ? 70 : 67);
      for (int y = 0; y < result.Height(); ++y) {
        for (int x = 0; x < result.Width(); ++x) {
          const Point from = SourceOf(code, x, y, result.Width(), result.Height());
          ASSERT_EQ(result.ColorAt(x, y), source.ColorAt(from.x, from.y))
              << "code " << code << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(TransformPixels, ClockwiseBringsTheBottomLeftToTheTopLeftAndFourTurnsRestore) {
  const Bitmap source = Distinct(3, 2, PixelFormat::Bgr24);
  const Bitmap turned = TransformPixels(kRotateClockwise, source);
  EXPECT_EQ(turned.ColorAt(0, 0), source.ColorAt(0, 1));
  EXPECT_EQ(turned.ColorAt(1, 0), source.ColorAt(0, 0));
  EXPECT_EQ(TransformPixels(kRotateCounterClockwise, source).ColorAt(0, 0), source.ColorAt(2, 0));
  Bitmap fourTimes = source;
  for (int i = 0; i < 4; ++i) fourTimes = TransformPixels(kRotateClockwise, fourTimes);
  EXPECT_EQ(fourTimes, source);
  EXPECT_EQ(TransformPixels(kMirrorLeftRight, TransformPixels(kMirrorLeftRight, source)), source);
  EXPECT_EQ(TransformPixels(kFlipTopBottom, TransformPixels(kFlipTopBottom, source)), source);
}

TEST(TransformPixels, FewerThanEightBitsAreTransformedAsColourAndUnknownCodesRefused) {
  Bitmap bits(9, 2, PixelFormat::Indexed1);
  bits.SetIndexAt(8, 0, 1);
  const Bitmap mirrored = TransformPixels(kMirrorLeftRight, bits);
  EXPECT_EQ(mirrored.Format(), PixelFormat::Bgr24);
  EXPECT_EQ(mirrored.ColorAt(0, 0), colors::kWhite);
  EXPECT_EQ(mirrored.ColorAt(8, 0), colors::kBlack);
  EXPECT_THROW(TransformPixels(4, bits), std::invalid_argument);
}

TEST(TransformPoint, FiguresFollowTheWholePicture) {
  // A 300 x 200 picture: 200 x 300 after a rotation.
  const RealPoint p{10, 20};
  EXPECT_EQ(TransformPoint(kRotateClockwise, p, 200, 300).x, 180);
  EXPECT_EQ(TransformPoint(kRotateClockwise, p, 200, 300).y, 10);
  EXPECT_EQ(TransformPoint(kRotateCounterClockwise, p, 200, 300).x, 20);
  EXPECT_EQ(TransformPoint(kRotateCounterClockwise, p, 200, 300).y, 290);
  EXPECT_EQ(TransformPoint(kMirrorLeftRight, p, 300, 200).x, 290);
  EXPECT_EQ(TransformPoint(kMirrorLeftRight, p, 300, 200).y, 20);
  EXPECT_EQ(TransformPoint(kFlipTopBottom, p, 300, 200).y, 180);
  // A point goes round with the picture: four clockwise turns bring it back.
  RealPoint q{12.25, 7.5};
  int w = 300, h = 200;
  for (int i = 0; i < 4; ++i) {
    std::swap(w, h);
    q = TransformPoint(kRotateClockwise, q, w, h);
  }
  EXPECT_EQ(q.x, 12.25);
  EXPECT_EQ(q.y, 7.5);
}

}  // namespace
}  // namespace mv
