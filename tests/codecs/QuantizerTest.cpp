// The quantizer: the nearest-colour search against a search of the whole palette, exact colours,
// the kept colour, and the quality of the dithered result.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "TestImages.h"
#include "codecs/NearestColor.h"
#include "codecs/Quantizer.h"

namespace mv {
namespace {

// The straightforward rule: the lowest index of least squared distance, the excluded entry aside.
int NearestByFullSearch(const std::vector<Rgb>& palette, std::optional<int> excluded, int r, int g, int b) {
  int best = -1, bestDistance = 1 << 30;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    if (excluded && i == *excluded) continue;
    const int d = (r - palette[i].red) * (r - palette[i].red) +
                  (g - palette[i].green) * (g - palette[i].green) +
                  (b - palette[i].blue) * (b - palette[i].blue);
    if (d < bestDistance) bestDistance = d, best = i;
  }
  return best;
}

TEST(NearestColor, AgreesWithAFullSearchOnRandomPalettes) {
  std::mt19937 random(7);
  for (const int size : {1, 2, 16, 200, 256}) {
    std::vector<Rgb> palette;
    for (int i = 0; i < size; ++i)
      palette.push_back(Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())});
    if (size > 2) palette[size / 2] = palette[1];  // equal entries: the lower index wins
    const std::optional<int> excluded = size > 1 ? std::optional<int>(size - 1) : std::nullopt;
    NearestColor nearest(palette, excluded);
    for (int k = 0; k < 20000; ++k) {
      const int r = random() % 256, g = random() % 256, b = random() % 256;
      ASSERT_EQ(nearest.Find(r, g, b), NearestByFullSearch(palette, excluded, r, g, b)) << size << " " << k;
    }
  }
}

Bitmap Photo(int width, int height) {
  Bitmap image(width, height, PixelFormat::Bgr24);
  std::mt19937 random(3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int noise = int(random() % 9) - 4;
      image.SetColorAt(x, y,
                       MakeColor(uint8_t(std::clamp(x * 255 / width + noise, 0, 255)),
                                 uint8_t(std::clamp(y * 255 / height + noise, 0, 255)),
                                 uint8_t(std::clamp((x + y) * 127 / (width + height) + 60 + noise, 0, 255))));
    }
  return image;
}

TEST(Quantizer, FewColoursAreKeptExactly) {
  const Bitmap source = test::AsymmetricImage(40, 30, PixelFormat::Indexed8);  // 256 colours
  const Bitmap result = QuantizeTo8Bit(source);
  EXPECT_EQ(result.Format(), PixelFormat::Indexed8);
  EXPECT_LE(result.Palette().size(), 256u);
  EXPECT_EQ(test::MaxChannelDifference(result, source), 0);
}

TEST(Quantizer, ManyColoursGiveAtMost256AndAGoodLikeness) {
  const Bitmap source = Photo(200, 150);
  const Bitmap result = QuantizeTo8Bit(source);
  EXPECT_EQ(result.Format(), PixelFormat::Indexed8);
  EXPECT_LE(result.Palette().size(), 256u);
  EXPECT_GT(test::Psnr(result, source), 34.0);
  // Error diffusion keeps the mean colour of a region.
  double sourceRed = 0, resultRed = 0;
  for (int y = 50; y < 80; ++y)
    for (int x = 50; x < 80; ++x)
      sourceRed += RedOf(source.ColorAt(x, y)), resultRed += RedOf(result.ColorAt(x, y));
  EXPECT_NEAR(resultRed / 900, sourceRed / 900, 1.0);
}

TEST(Quantizer, KeptColourHasItsOwnEntryAndOnlyItsPixels) {
  Bitmap source = Photo(120, 90);
  const ColorRef kept = source.ColorAt(30, 30);
  for (int x = 0; x < 120; ++x) source.SetColorAt(x, 45, kept);
  // A near neighbour of the kept colour must not be drawn into its entry.
  const ColorRef near = MakeColor(RedOf(kept), GreenOf(kept), uint8_t(BlueOf(kept) ^ 1));
  source.SetColorAt(7, 7, near);
  const Bitmap result = QuantizeTo8Bit(source, kept);
  const auto& palette = result.Palette();
  ASSERT_LE(palette.size(), 256u);
  std::vector<int> keptEntries;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i)
    if (MakeColor(palette[i].red, palette[i].green, palette[i].blue) == kept) keptEntries.push_back(i);
  ASSERT_EQ(keptEntries.size(), 1u);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x)
      ASSERT_EQ(result.IndexAt(x, y) == keptEntries[0], source.ColorAt(x, y) == kept) << x << "," << y;
}

TEST(Quantizer, KeptColourAbsentFromTheImageStillGetsAnEntry) {
  const ColorRef kept = MakeColor(1, 2, 3);
  for (const Bitmap& source : {Photo(64, 64), test::AsymmetricImage(8, 8, PixelFormat::Bgr24)}) {
    const Bitmap result = QuantizeTo8Bit(source, kept);
    int found = 0;
    for (const PaletteEntry& e : result.Palette()) found += MakeColor(e.red, e.green, e.blue) == kept;
    EXPECT_EQ(found, 1);
  }
}

}  // namespace
}  // namespace mv
