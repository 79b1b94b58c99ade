#include "platform/Bitmap.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

// A 3 x 2 picture whose every pixel differs, so a flip or an offset shows.
Bitmap Asymmetric24() {
  Bitmap b(3, 2, PixelFormat::Bgr24);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      b.SetColorAt(x, y, MakeColor(uint8_t(10 + x), uint8_t(20 + y), uint8_t(x * 3 + y)));
  return b;
}

TEST(Bitmap, RowsArePaddedToFourBytesAndTopDown) {
  Bitmap b = Asymmetric24();
  EXPECT_EQ(b.Stride(), 12u);
  EXPECT_EQ(b.Row(1)[0], 1);   // blue of (0,1)
  EXPECT_EQ(b.Row(0)[5], 11);  // red of (1,0)
  EXPECT_EQ(Bitmap(5, 1, PixelFormat::Indexed1).Stride(), 4u);
  EXPECT_EQ(Bitmap(9, 1, PixelFormat::Indexed4).Stride(), 8u);
  EXPECT_EQ(Bitmap(3, 1, PixelFormat::Rgb555).Stride(), 8u);
}

TEST(Bitmap, IndexedPixelsPackMostSignificantFirst) {
  Bitmap one(10, 1, PixelFormat::Indexed1);
  one.SetIndexAt(1, 0, 1);
  one.SetIndexAt(9, 0, 1);
  EXPECT_EQ(one.Row(0)[0], 0x40);
  EXPECT_EQ(one.Row(0)[1], 0x40);
  Bitmap four(3, 1, PixelFormat::Indexed4);
  four.SetIndexAt(0, 0, 0xA);
  four.SetIndexAt(1, 0, 0x3);
  four.SetIndexAt(2, 0, 0xF);
  EXPECT_EQ(four.Row(0)[0], 0xA3);
  EXPECT_EQ(four.Row(0)[1], 0xF0);
  EXPECT_EQ(four.IndexAt(1, 0), 3);
}

TEST(Bitmap, ConversionsExpandPalettesAnd555) {
  Bitmap pal(2, 1, PixelFormat::Indexed8);
  pal.SetPalette({{1, 2, 3, 0}, {40, 50, 60, 0}});
  pal.SetIndexAt(0, 0, 1);
  pal.SetIndexAt(1, 0, 7);  // beyond the palette: black
  Bitmap rgb = pal.ToBgr24();
  EXPECT_EQ(rgb.ColorAt(0, 0), MakeColor(60, 50, 40));
  EXPECT_EQ(rgb.ColorAt(1, 0), colors::kBlack);

  Bitmap hi(1, 1, PixelFormat::Rgb555);
  hi.Row(0)[0] = 0xFF;  // 0x7FFF: white
  hi.Row(0)[1] = 0x7F;
  EXPECT_EQ(hi.ColorAt(0, 0), colors::kWhite);
  hi.Row(0)[0] = 0x1F;  // blue 31 only
  hi.Row(0)[1] = 0x00;
  EXPECT_EQ(hi.ToBgr24().ColorAt(0, 0), MakeColor(0, 0, 255));

  Bitmap b = Asymmetric24();
  Bitmap x = b.ConvertedTo(PixelFormat::Bgrx32);
  EXPECT_EQ(x.Row(1)[4 * 2 + 2], 12);
  EXPECT_EQ(x.ToBgr24(), b);
}

TEST(Bitmap, CopyRegionKeepsPixelsAndZeroesWhatLiesOutside) {
  Bitmap b = Asymmetric24();
  Bitmap r = b.CopyRegion(1, 1, 3, 1);
  EXPECT_EQ(r.Width(), 3);
  EXPECT_EQ(r.ColorAt(0, 0), b.ColorAt(1, 1));
  EXPECT_EQ(r.ColorAt(1, 0), b.ColorAt(2, 1));
  EXPECT_EQ(r.ColorAt(2, 0), colors::kBlack);

  Bitmap four(5, 2, PixelFormat::Indexed4);
  four.SetIndexAt(3, 1, 9);
  Bitmap fr = four.CopyRegion(2, 1, 2, 1);
  EXPECT_EQ(fr.IndexAt(1, 0), 9);
  EXPECT_EQ(fr.Palette().size(), 16u);
}

TEST(Bitmap, CopiesAreDeepAndLargeBuffersWork) {
  Bitmap big(2000, 1000, PixelFormat::Bgr24);
  big.SetColorAt(1999, 999, colors::kWhite);
  Bitmap copy = big;
  copy.SetColorAt(1999, 999, colors::kBlack);
  EXPECT_EQ(big.ColorAt(1999, 999), colors::kWhite);
  EXPECT_FALSE(copy == big);
  copy = big;
  EXPECT_TRUE(copy == big);
}

TEST(Bitmap, RefusesImpossibleSizes) {
  EXPECT_THROW(Bitmap(-1, 5), std::invalid_argument);
  EXPECT_THROW(Bitmap(1 << 30, 1 << 30), std::bad_alloc);
}

// A copy that runs out of memory leaves the bitmap it was to replace exactly as it was (once its size
// changed first and it claimed pixels it did not have); one into memory of the right size needs none.
TEST(Bitmap, ACopyThatRunsOutOfMemoryLeavesTheTargetAsItWas) {
  Bitmap large(1024, 1024, PixelFormat::Bgrx32);
  large.SetColorAt(5, 6, colors::kRed);
  Bitmap target = Asymmetric24();
  {
    const PixelBuffer::FailLargeAllocations failing(1);
    try {
      target = large;
      ADD_FAILURE() << "the copy did not fail";
    } catch (const std::bad_alloc& error) {
      EXPECT_STREQ(error.what(), "Out of memory for a 1024 x 1024 picture of 32 bits (4 MiB)");
    }
    EXPECT_EQ(failing.Failed(), 1u);
  }
  EXPECT_TRUE(target == Asymmetric24());
  Bitmap sameSize(1024, 1024, PixelFormat::Bgrx32);
  const PixelBuffer::FailLargeAllocations failing(1, 100);
  sameSize = large;
  EXPECT_EQ(failing.Requested(), 0u);
  EXPECT_TRUE(sameSize == large);
  EXPECT_THROW(Bitmap(70000, 70000), std::bad_alloc);
}

}  // namespace
}  // namespace mv
