#include "view/Stretch.h"
#include "view/Viewport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace mv {
namespace {

// The rule written out per view pixel: along an enlarged axis the source pixel floor(d * s / v);
// along a reduced one every source pixel with its overlap of the view pixel, in units of 1 / (s * v).
std::vector<std::pair<int, uint64_t>> AxisWeights(int64_t source, int64_t view, int64_t d) {
  if (view >= source) return {{static_cast<int>(d * source / view), 1}};
  std::vector<std::pair<int, uint64_t>> weights;
  for (int64_t i = 0; i < source; ++i) {
    const int64_t low = std::max(i * view, d * source), high = std::min((i + 1) * view, (d + 1) * source);
    if (high > low) weights.emplace_back(static_cast<int>(i), static_cast<uint64_t>(high - low));
  }
  return weights;
}

ColorRef ReferencePixel(const Bitmap& source, Size view, int dx, int dy) {
  const auto xs = AxisWeights(source.Width(), view.width, dx);
  const auto ys = AxisWeights(source.Height(), view.height, dy);
  uint64_t total = 0, sums[3] = {0, 0, 0};
  for (const auto& [y, wy] : ys) {
    for (const auto& [x, wx] : xs) {
      const ColorRef c = source.ColorAt(x, y);
      sums[0] += wx * wy * RedOf(c);
      sums[1] += wx * wy * GreenOf(c);
      sums[2] += wx * wy * BlueOf(c);
      total += wx * wy;
    }
  }
  const auto channel = [&](int i) { return static_cast<uint8_t>((sums[i] + total / 2) / total); };
  return MakeColor(channel(0), channel(1), channel(2));
}

Bitmap RandomImage(int width, int height, std::mt19937& random) {
  Bitmap image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width * 3; ++x) image.Row(y)[x] = static_cast<uint8_t>(random());
  }
  return image;
}

// Stretches `area` into a bitmap filled with a sentinel and checks every pixel against the rule and
// that nothing outside the target rectangle was touched.
void ExpectStretchMatchesRule(const Bitmap& source, Size view, const Rect& area, Point at) {
  const ColorRef sentinel = MakeColor(1, 2, 3);
  Bitmap out(at.x + area.Width() + 3, at.y + area.Height() + 2);
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) out.SetColorAt(x, y, sentinel);
  }
  StretchRegion(source, view, area, out, at);
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) {
      const bool inside = x >= at.x && x < at.x + area.Width() && y >= at.y && y < at.y + area.Height();
      const ColorRef expected =
          inside ? ReferencePixel(source, view, area.left + x - at.x, area.top + y - at.y) : sentinel;
      ASSERT_EQ(out.ColorAt(x, y), expected)
          << "source " << source.Width() << "x" << source.Height() << " view " << view.width << "x"
          << view.height << " at output " << x << "," << y;
    }
  }
}

TEST(Stretch, MatchesTheRuleForEnlargedReducedAndMixedAxesOnRandomImages) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    const int sw = 1 + static_cast<int>(random() % 40), sh = 1 + static_cast<int>(random() % 40);
    const Bitmap source = RandomImage(sw, sh, random);
    const Size view{1 + static_cast<int>(random() % 90), 1 + static_cast<int>(random() % 90)};
    const int left = static_cast<int>(random() % view.width), top = static_cast<int>(random() % view.height);
    const Rect area{left, top, left + 1 + static_cast<int>(random() % (view.width - left)),
                    top + 1 + static_cast<int>(random() % (view.height - top))};
    ExpectStretchMatchesRule(source, view, area,
                             {static_cast<int>(random() % 4), static_cast<int>(random() % 4)});
  }
}

TEST(Stretch, RatiosWithLargeWeightTotalsUseWiderSumsAndStillMatchTheRule) {
  std::mt19937 random(99);
  // 300 -> 299 rows: the vertical total 300 needs 32-bit column sums.
  ExpectStretchMatchesRule(RandomImage(31, 300, random), {29, 299}, {0, 0, 29, 299}, {1, 0});
  // 8191 x 2053 (primes) shown one pixel smaller: the total 8191 * 2053 needs 64-bit sums. Only the
  // corner the area reads is filled.
  Bitmap large(8191, 2053);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12 * 3; ++x) large.Row(y)[x] = static_cast<uint8_t>(random());
  }
  ExpectStretchMatchesRule(large, {8190, 2052}, {0, 0, 10, 10}, {0, 0});
}

TEST(Stretch, EnlargingKeepsPixelsCrispAndEqualSizeCopies) {
  Bitmap source(2, 1);
  source.SetColorAt(0, 0, MakeColor(10, 20, 30));
  source.SetColorAt(1, 0, MakeColor(200, 100, 0));
  Bitmap out(6, 2);
  StretchRegion(source, {6, 2}, {0, 0, 6, 2}, out, {0, 0});
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(out.ColorAt(x, 1), x < 3 ? MakeColor(10, 20, 30) : MakeColor(200, 100, 0));
  Bitmap same(2, 1);
  StretchRegion(source, {2, 1}, {0, 0, 2, 1}, same, {0, 0});
  EXPECT_EQ(same, source);
}

TEST(Stretch, AReductionAveragesExactlyAndRoundsHalfUp) {
  Bitmap source(3, 1);
  source.SetColorAt(0, 0, MakeColor(0, 0, 0));
  source.SetColorAt(1, 0, MakeColor(1, 255, 10));
  source.SetColorAt(2, 0, MakeColor(2, 255, 20));
  Bitmap out(2, 1);
  // View pixel 0 covers source 0 and half of 1: (2*0 + 1*1) / 3 = 0.33 -> 0 red; green (0 + 255) / 3 = 85.
  StretchRegion(source, {2, 1}, {0, 0, 2, 1}, out, {0, 0});
  EXPECT_EQ(out.ColorAt(0, 0), MakeColor(0, 85, 3));
  EXPECT_EQ(out.ColorAt(1, 0),
            MakeColor(2, 255, 17));  // (1 + 2*2) / 3 = 1.67 -> 2; (10 + 40) / 3 = 16.67 -> 17
}

TEST(Stretch, LargeAreasSplitOverThreadsGiveTheSameResult) {
  std::mt19937 random(777);
  const Bitmap source = RandomImage(1003, 701, random);
  const Size view{317, 229};
  Bitmap out(view.width, view.height);
  StretchRegion(source, view, {0, 0, view.width, view.height}, out, {0, 0});
  for (int y = 0; y < view.height; y += 7) {
    for (int x = 0; x < view.width; ++x) ASSERT_EQ(out.ColorAt(x, y), ReferencePixel(source, view, x, y));
  }
}

TEST(Viewport, ShowsTheScrolledPartOnTheBackgroundAndRecomposesOnlyWhenTheSceneChanges) {
  Bitmap picture(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x)
      picture.SetColorAt(x, y, MakeColor(static_cast<uint8_t>(x * 60), static_cast<uint8_t>(y * 60), 0));
  }
  ViewportScene scene{&picture, 1, {8, 8}, {4, 2}, MakeColor(9, 9, 9)};
  ViewportComposer composer;
  Bitmap surface(6, 8);
  composer.Compose(scene, surface);
  EXPECT_EQ(surface.ColorAt(0, 0), picture.ColorAt(2, 1));  // content (4, 2) is picture pixel (2, 1)
  EXPECT_EQ(surface.ColorAt(3, 5), picture.ColorAt(3, 3));
  EXPECT_EQ(surface.ColorAt(4, 0), MakeColor(9, 9, 9));  // content x 8 lies past Im1
  EXPECT_EQ(surface.ColorAt(0, 6), MakeColor(9, 9, 9));
  // The same scene gives the same layer even when the picture's pixels changed behind its back;
  // a new version is drawn anew.
  picture.SetColorAt(2, 1, MakeColor(255, 255, 255));
  composer.Compose(scene, surface);
  EXPECT_NE(surface.ColorAt(0, 0), MakeColor(255, 255, 255));
  scene.pictureVersion = 2;
  composer.Compose(scene, surface);
  EXPECT_EQ(surface.ColorAt(0, 0), MakeColor(255, 255, 255));
}

TEST(Viewport, PicturesInOtherFormatsAreShownThroughTheirColours) {
  Bitmap indexed(2, 1, PixelFormat::Indexed8);
  indexed.SetPalette({PaletteEntry{0, 0, 255, 0}, PaletteEntry{255, 0, 0, 0}});
  indexed.SetIndexAt(1, 0, 1);
  ViewportComposer composer;
  Bitmap surface(2, 1);
  composer.Compose({&indexed, 1, {2, 1}, {0, 0}, 0}, surface);
  EXPECT_EQ(surface.ColorAt(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(surface.ColorAt(1, 0), MakeColor(0, 0, 255));
}

}  // namespace
}  // namespace mv

namespace mv {
namespace {

// The rule for a whole area at once, with each axis' weights worked out once per view column and row.
Bitmap ReferenceArea(const Bitmap& source, Size view, const Rect& area) {
  std::vector<std::vector<std::pair<int, uint64_t>>> columns, rows;
  for (int x = area.left; x < area.right; ++x) columns.push_back(AxisWeights(source.Width(), view.width, x));
  for (int y = area.top; y < area.bottom; ++y) rows.push_back(AxisWeights(source.Height(), view.height, y));
  Bitmap expected(area.Width(), area.Height());
  for (int j = 0; j < area.Height(); ++j) {
    for (int i = 0; i < area.Width(); ++i) {
      uint64_t total = 0, sums[3] = {0, 0, 0};
      for (const auto& [y, wy] : rows[static_cast<std::size_t>(j)]) {
        const uint8_t* row = source.Row(y);
        for (const auto& [x, wx] : columns[static_cast<std::size_t>(i)]) {
          for (int c = 0; c < 3; ++c) sums[c] += wx * wy * row[x * 3 + c];
          total += wx * wy;
        }
      }
      for (int c = 0; c < 3; ++c)
        expected.Row(j)[i * 3 + c] = static_cast<uint8_t>((sums[c] + total / 2) / total);
    }
  }
  return expected;
}

// The palette of greyscale files: index i is (i, i, i).
std::vector<PaletteEntry> GreyScale() {
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < 256; ++i) palette.push_back({uint8_t(i), uint8_t(i), uint8_t(i), 0});
  return palette;
}

// Every source format the stretch reads, made from a 24-bit picture, each with the 24-bit picture it
// shows: the picture itself, its 32-bit copy, and its green channel as an 8-bit grey-scale picture.
std::vector<std::pair<Bitmap, Bitmap>> ReadableSources(const Bitmap& source24) {
  Bitmap grey(source24.Width(), source24.Height(), PixelFormat::Indexed8);
  grey.SetPalette(GreyScale());
  for (int y = 0; y < grey.Height(); ++y) {
    for (int x = 0; x < grey.Width(); ++x) grey.Row(y)[x] = source24.Row(y)[3 * x + 1];
  }
  Bitmap greyShown = grey.ToBgr24();
  std::vector<std::pair<Bitmap, Bitmap>> sources;
  sources.emplace_back(source24, source24);
  // The unused fourth bytes hold values of their own (a loaded RGBA file keeps its alpha there), which
  // must not show.
  Bitmap bgrx = source24.ConvertedTo(PixelFormat::Bgrx32);
  for (int y = 0; y < bgrx.Height(); ++y) {
    for (int x = 0; x < bgrx.Width(); ++x)
      bgrx.Row(y)[4 * x + 3] = static_cast<uint8_t>(x * 37 + y * 11 + 200);
  }
  sources.emplace_back(std::move(bgrx), source24);
  sources.emplace_back(std::move(grey), std::move(greyShown));
  return sources;
}

// Stretches `area` of `source` (showing as `shown`, 24-bit) with the vector loops allowed and with
// plain code only, on one thread and on several, and compares each with the rule.
void ExpectEveryPathMatchesTheRule(const Bitmap& source, const Bitmap& shown, Size view, const Rect& area) {
  const Bitmap expected = ReferenceArea(shown, view, area);
  for (const bool vector : {true, false}) {
    for (const bool threads : {true, false}) {
      Bitmap out(area.Width(), area.Height());
      StretchRegion(source, view, area, out, {0, 0}, {.allowThreads = threads, .allowVector = vector});
      ASSERT_EQ(out, expected) << "source " << source.Width() << "x" << source.Height() << " "
                               << source.BitsPerPixel() << "-bit view " << view.width << "x" << view.height
                               << " area " << area.left << "," << area.top << " " << area.Width() << "x"
                               << area.Height() << (vector ? " vector" : " plain");
    }
  }
  // A kept workspace gives the same pixels when it is reused for another area.
  StretchWorkspace workspace;
  Bitmap out(area.Width(), area.Height());
  StretchRegion(source, view, {0, 0, 1, 1}, out, {0, 0}, workspace);
  StretchRegion(source, view, area, out, {0, 0}, workspace);
  ASSERT_EQ(out, expected);
}

// The same for a 24-bit picture in every format the stretch reads.
void ExpectEveryPathMatchesTheRule(const Bitmap& source24, Size view, const Rect& area) {
  for (const auto& [source, shown] : ReadableSources(source24))
    ExpectEveryPathMatchesTheRule(source, shown, view, area);
}

Size Zoomed(Size source, double zoom) {
  return {std::max(1, static_cast<int>(source.width * zoom + 0.5)),
          std::max(1, static_cast<int>(source.height * zoom + 0.5))};
}

TEST(Stretch, EveryPathMatchesTheRuleAtManyZoomsOnOddSizes) {
  std::mt19937 random(2024);
  const double zooms[] = {0.36,    1.0 / 3, 0.5, 0.6, 0.75, 0.25, 0.05, 0.1, 0.999, 1 / std::sqrt(2.0),
                          2.0 / 3, 0.9};
  for (const double zoom : zooms) {
    for (int round = 0; round < 4; ++round) {
      const Size size{17 + static_cast<int>(random() % 300), 9 + static_cast<int>(random() % 200)};
      const Bitmap source = RandomImage(size.width, size.height, random);
      const Size view = Zoomed(size, zoom);
      ExpectEveryPathMatchesTheRule(source, view, {0, 0, view.width, view.height});
      const int left = static_cast<int>(random() % view.width),
                top = static_cast<int>(random() % view.height);
      ExpectEveryPathMatchesTheRule(source, view,
                                    {left, top, left + 1 + static_cast<int>(random() % (view.width - left)),
                                     top + 1 + static_cast<int>(random() % (view.height - top))});
    }
  }
}

// A copy of the source pixels [left, right) x [top, bottom), with `margin` extra pixels of noise on the
// right and below so reads past the window show.
Bitmap Window(const Bitmap& source, const Rect& part, int margin, std::mt19937& random) {
  Bitmap window(part.Width() + margin, part.Height() + margin, source.Format());
  for (int y = 0; y < window.Height(); ++y) {
    for (std::size_t b = 0; b < window.Stride(); ++b) window.Row(y)[b] = static_cast<uint8_t>(random());
  }
  const std::size_t pixelBytes = static_cast<std::size_t>(source.BitsPerPixel() / 8);
  for (int y = part.top; y < part.bottom; ++y) {
    std::memcpy(window.Row(y - part.top), source.Row(y) + static_cast<std::size_t>(part.left) * pixelBytes,
                static_cast<std::size_t>(part.Width()) * pixelBytes);
  }
  return window;
}

TEST(Stretch, AWindowOfTheSourceGivesWhatTheWholeSourceGives) {
  std::mt19937 random(606);
  for (const double zoom : {0.36, 1.0 / 3, 0.5, 0.05, 0.999, 0.75, 1.0, 2.5}) {
    for (int round = 0; round < 3; ++round) {
      const Size size{40 + static_cast<int>(random() % 500), 30 + static_cast<int>(random() % 300)};
      const Bitmap source24 = RandomImage(size.width, size.height, random);
      const Size view{Zoomed(size, zoom).width, Zoomed(size, round == 2 ? 1.0 : zoom).height};
      const int left = static_cast<int>(random() % view.width),
                top = static_cast<int>(random() % view.height);
      const Rect area{left, top, left + 1 + static_cast<int>(random() % (view.width - left)),
                      top + 1 + static_cast<int>(random() % (view.height - top))};
      // The source pixels the area reads: from the first under its top-left to the last under its
      // bottom-right.
      const Rect part{
          static_cast<int>(int64_t{area.left} * size.width / view.width),
          static_cast<int>(int64_t{area.top} * size.height / view.height),
          static_cast<int>(std::min<int64_t>(
              size.width, (int64_t{area.right} * size.width + view.width - 1) / view.width)),
          static_cast<int>(std::min<int64_t>(
              size.height, (int64_t{area.bottom} * size.height + view.height - 1) / view.height))};
      for (const auto& [source, shown] : ReadableSources(source24)) {
        const Bitmap window = Window(source, part, 5, random);
        const Bitmap expected = ReferenceArea(shown, view, area);
        for (const bool vector : {true, false}) {
          StretchWorkspace workspace;
          Bitmap out(area.Width(), area.Height());
          StretchRegion(window, {part.left, part.top}, size, view, area, out, {0, 0}, workspace,
                        {.allowVector = vector});
          ASSERT_EQ(out, expected) << "source " << size.width << "x" << size.height << " view " << view.width
                                   << "x" << view.height << " area " << area.left << "," << area.top << " "
                                   << area.Width() << "x" << area.Height() << (vector ? " vector" : " plain")
                                   << " " << source.BitsPerPixel() << "-bit";
        }
      }
    }
  }
}

TEST(Stretch, EveryVectorLoopMatchesTheRuleInsideALargePicture) {
  std::mt19937 random(31337);
  const auto sources = ReadableSources(RandomImage(4001, 3001, random));
  const Size views[] = {
      Zoomed({4001, 3001}, 0.36),  // the window fit
      {2000, 1500},                // a half but for one pixel: small weight totals
      {1333, 1000},                // a third: horizontal total 4001, divisions in doubles
      {1440, 1079},                // vertical total 3001: 32-bit column sums
      {4000, 3000},                // one pixel less each way: sums past 32 bits, plain code
      {4001, 1000},                // only the rows reduced
      {100, 3001},                 // only the columns reduced
      {80, 60},                    // fifty source pixels per view pixel each way
      {100, 20},                   // 151 rows per view row: 32-bit column sums from widened bytes
  };
  for (const Size view : views) {
    for (int round = 0; round < 3; ++round) {
      const int width = std::min(view.width, 1 + static_cast<int>(random() % 61));
      const int height = std::min(view.height, 1 + static_cast<int>(random() % 7));
      const int left = static_cast<int>(random() % (view.width - width + 1));
      const int top = static_cast<int>(random() % (view.height - height + 1));
      for (const auto& [source, shown] : sources)
        ExpectEveryPathMatchesTheRule(source, shown, view, {left, top, left + width, top + height});
    }
    // The last columns and rows, where the taps end at the picture's edge.
    for (const auto& [source, shown] : sources) {
      ExpectEveryPathMatchesTheRule(
          source, shown, view,
          {std::max(0, view.width - 9), std::max(0, view.height - 3), view.width, view.height});
    }
  }
}

TEST(Stretch, ChannelExtremesRoundExactlyInEveryVectorLoop) {
  // All 0 and all 255 stay so; a half grey pattern sits exactly on the rounding boundary.
  std::mt19937 random(5);
  for (const Size size : {Size{301, 257}, Size{4001, 131}, Size{640, 480}}) {
    Bitmap source(size.width, size.height);
    for (int y = 0; y < size.height; ++y) {
      for (int x = 0; x < size.width * 3; ++x)
        source.Row(y)[x] = (x / 3 + y) % 2 == 0 ? 255 : (random() % 3 == 0 ? 0 : 255);
    }
    for (const double zoom : {0.5, 0.36, 1.0 / 3, 0.75}) {
      const Size view = Zoomed(size, zoom);
      ExpectEveryPathMatchesTheRule(source, view,
                                    {0, 0, std::min(view.width, 90), std::min(view.height, 20)});
    }
  }
}

TEST(Stretch, AveragesExactlyHalfwayRoundUpInEveryVectorLoop) {
  // A row or column of alternating 254 and 255 shown as one pixel averages exactly 254.5, which
  // rounds to 255, whatever the divisor (single-precision, double-precision, 32-bit column sums).
  for (int length = 2; length <= 4400; length += length < 200 ? 2 : 34) {
    Bitmap row(length, 1), column(1, length);
    for (int i = 0; i < length; ++i) {
      const uint8_t v = i % 2 == 0 ? 254 : 255;
      row.SetColorAt(i, 0, MakeColor(v, v, v));
      column.SetColorAt(0, i, MakeColor(v, v, v));
    }
    for (const Bitmap* source : {&row, &column}) {
      for (const bool vector : {true, false}) {
        Bitmap out(1, 1);
        StretchRegion(*source, {1, 1}, {0, 0, 1, 1}, out, {0, 0}, {.allowVector = vector});
        ASSERT_EQ(out.ColorAt(0, 0), MakeColor(255, 255, 255)) << source->Width() << "x" << source->Height();
      }
    }
  }
}

// A picture of random pixels in `format`; indexed pictures get a random palette, sometimes shorter
// than their indexes reach (those read as black).
Bitmap RandomPicture(int width, int height, PixelFormat format, std::mt19937& random) {
  Bitmap picture(width, height, format);
  if (IsIndexed(format)) {
    std::vector<PaletteEntry> palette(random() % 2 == 0 ? (1u << BitsPerPixel(format)) : 1 + random() % 3);
    for (PaletteEntry& entry : palette) {
      entry = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
               0};
    }
    picture.SetPalette(palette);
  }
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * BitsPerPixel(format) + 7) / 8;
  for (int y = 0; y < height; ++y) {
    for (std::size_t b = 0; b < rowBytes; ++b) picture.Row(y)[b] = static_cast<uint8_t>(random());
  }
  return picture;
}

// An 8-bit picture of random pixels with the grey scale as its palette, as greyscale files load; with
// `offEntry` in 0..255 that one entry is a shade off grey.
Bitmap GreyPicture(int width, int height, std::mt19937& random, int offEntry = -1) {
  Bitmap picture = RandomPicture(width, height, PixelFormat::Indexed8, random);
  std::vector<PaletteEntry> palette = GreyScale();
  if (offEntry >= 0) palette[static_cast<std::size_t>(offEntry)].red ^= 1;
  picture.SetPalette(palette);
  return picture;
}

// Random blocks of random pictures converted into a bitmap of noise at random places, with the vector
// code and without: the block's pixels take the picture's colours and no byte around them changes.
// Greyscale pictures are copied rather than looked up; one entry off grey must turn that off.
TEST(Bgr24Converter, ConvertsBlocksOfEveryFormatAndWritesNothingOutsideThem) {
  std::mt19937 random(1717);
  enum class Palette { Random, Grey, NearGrey };
  const std::pair<PixelFormat, Palette> kinds[] = {
      {PixelFormat::Indexed1, Palette::Random},   {PixelFormat::Indexed4, Palette::Random},
      {PixelFormat::Indexed8, Palette::Random},   {PixelFormat::Indexed8, Palette::Grey},
      {PixelFormat::Indexed8, Palette::NearGrey}, {PixelFormat::Rgb555, Palette::Random},
      {PixelFormat::Bgrx32, Palette::Random}};
  for (const auto& [format, palette] : kinds) {
    for (int round = 0; round < 20; ++round) {
      const int width = 1 + static_cast<int>(random() % 90), height = 1 + static_cast<int>(random() % 5);
      const Bitmap picture = palette == Palette::Grey ? GreyPicture(width, height, random)
                             : palette == Palette::NearGrey
                                 ? GreyPicture(width, height, random, static_cast<int>(random() % 256))
                                 : RandomPicture(width, height, format, random);
      const Bitmap colours = picture.ToBgr24();
      const int left = static_cast<int>(random() % picture.Width()),
                top = static_cast<int>(random() % picture.Height());
      const Rect block{left, top, left + 1 + static_cast<int>(random() % (picture.Width() - left)),
                       top + 1 + static_cast<int>(random() % (picture.Height() - top))};
      const Point to{static_cast<int>(random() % 4), static_cast<int>(random() % 3)};
      const Bitmap noise = RandomImage(block.Width() + 6, block.Height() + 4, random);
      for (const bool vector : {true, false}) {
        Bitmap out = noise;
        Bgr24Converter(picture, vector).Convert(picture, block, out, to);
        for (int y = 0; y < out.Height(); ++y) {
          for (int x = 0; x < out.Width(); ++x) {
            const int px = x - to.x + block.left, py = y - to.y + block.top;
            const bool inside = px >= block.left && px < block.right && py >= block.top && py < block.bottom;
            ASSERT_EQ(out.ColorAt(x, y), inside ? colours.ColorAt(px, py) : noise.ColorAt(x, y))
                << "format " << static_cast<int>(format) << " width " << picture.Width() << " block "
                << block.left << ".." << block.right << (vector ? " vector" : " plain") << " at " << x << ","
                << y;
          }
        }
      }
    }
  }
}

// Composes `scene` and checks every surface pixel: the picture's colours stretched by the rule inside
// Im1, the background elsewhere.
void ExpectComposedByTheRule(ViewportComposer& composer, const ViewportScene& scene,
                             const Bitmap& expectedDisplay, Size surfaceSize) {
  Bitmap surface(surfaceSize.width, surfaceSize.height);
  composer.Compose(scene, surface);
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      const int cx = scene.scroll.x + x, cy = scene.scroll.y + y;
      const bool inside = cx >= 0 && cy >= 0 && cx < scene.display.width && cy < scene.display.height;
      ASSERT_EQ(surface.ColorAt(x, y), inside ? expectedDisplay.ColorAt(cx, cy) : scene.background)
          << "format " << static_cast<int>(scene.picture->Format()) << " display " << scene.display.width
          << "x" << scene.display.height << " scroll " << scene.scroll.x << "," << scene.scroll.y << " at "
          << x << "," << y;
    }
  }
}

// A random picture in each of the six pixel formats, at least `width` and less than width + spread wide,
// and a grey-scale one.
std::vector<Bitmap> PicturesInEveryFormat(int width, int spread, int height, std::mt19937& random) {
  const PixelFormat formats[] = {PixelFormat::Indexed1, PixelFormat::Indexed4, PixelFormat::Indexed8,
                                 PixelFormat::Rgb555,   PixelFormat::Bgr24,    PixelFormat::Bgrx32};
  std::vector<Bitmap> pictures;
  for (const PixelFormat format : formats)
    pictures.push_back(RandomPicture(width + static_cast<int>(random() % spread), height, format, random));
  pictures.push_back(GreyPicture(width + spread / 2, height, random));
  return pictures;
}

TEST(Viewport, EveryPixelFormatIsShownByTheRuleAtEveryZoomWhileScrolling) {
  std::mt19937 random(4242);
  const Size surfaceSize{157, 93};
  for (const Bitmap& picture : PicturesInEveryFormat(601, 40, 403, random)) {
    const Bitmap colours = picture.ToBgr24();
    ViewportComposer composer;  // one composer throughout: its caches must follow every change
    for (const double zoom : {0.36, 1.0 / 3, 0.5, 0.75, 0.1, 1.0, 2.5, 0.2}) {
      const Size display = Zoomed({picture.Width(), picture.Height()}, zoom);
      const Bitmap expected = ReferenceArea(colours, display, {0, 0, display.width, display.height});
      ViewportScene scene{&picture, 1, display, {0, 0}, MakeColor(7, 8, 9)};
      // Scrolled over the image area, past its ends, and back.
      const Point scrolls[] = {{0, 0},
                               {display.width / 2, display.height / 3},
                               {display.width - 40, -5},
                               {-11, display.height - 20},
                               {3, 1}};
      for (const Point scroll : scrolls) {
        scene.scroll = scroll;
        ExpectComposedByTheRule(composer, scene, expected, surfaceSize);
      }
    }
  }
}

// Pictures larger than a few of the composer's tiles, at the zooms people use on micrographs and at the
// extremes: pictures smaller than the surface, the smallest views, and views a pixel short of 1:1.
TEST(Viewport, ReducedPicturesInEveryFormatSpanningManyTilesAreShownByTheRule) {
  std::mt19937 random(5151);
  for (const Bitmap& picture : PicturesInEveryFormat(1301, 60, 611, random)) {
    const Bitmap colours = picture.ToBgr24();
    ViewportComposer composer;
    for (const double zoom : {0.36, 1.0 / 3, 0.5, 0.05, 0.999, 0.25}) {
      const Size display = Zoomed({picture.Width(), picture.Height()}, zoom);
      const Bitmap expected = ReferenceArea(colours, display, {0, 0, display.width, display.height});
      ViewportScene scene{&picture, 1, display, {0, 0}, MakeColor(200, 100, 50)};
      // The whole view on a large surface (the picture smaller than it), then scrolled parts of it.
      ExpectComposedByTheRule(composer, scene, expected, {700, 450});
      for (const Point scroll : {Point{display.width / 3, display.height / 4}, Point{display.width - 90, 7},
                                 Point{-13, display.height - 150}}) {
        scene.scroll = scroll;
        ExpectComposedByTheRule(composer, scene, expected, {333, 259});
      }
    }
  }
}

TEST(Viewport, ANewVersionOfThePictureIsConvertedAndReducedAnew) {
  std::mt19937 random(77);
  for (const PixelFormat format : {PixelFormat::Indexed8, PixelFormat::Bgr24}) {
    Bitmap picture = RandomPicture(530, 300, format, random);
    ViewportComposer composer;
    const Size display{191, 108};
    ViewportScene scene{&picture, 1, display, {20, 10}, 0};
    ExpectComposedByTheRule(composer, scene,
                            ReferenceArea(picture.ToBgr24(), display, {0, 0, display.width, display.height}),
                            {120, 80});
    picture = RandomPicture(530, 300, format, random);
    scene.pictureVersion = 2;
    scene.scroll = {0, 0};
    ExpectComposedByTheRule(composer, scene,
                            ReferenceArea(picture.ToBgr24(), display, {0, 0, display.width, display.height}),
                            {120, 80});
  }
}

TEST(Viewport, ARepaintOfAReducedViewRestoresWhatWasDrawnOverIt) {
  std::mt19937 random(9);
  Bitmap picture = RandomPicture(640, 480, PixelFormat::Bgr24, random);
  ViewportComposer composer;
  const ViewportScene scene{&picture, 1, {230, 173}, {30, 20}, MakeColor(1, 1, 1)};
  Bitmap first(150, 160), again(150, 160);
  composer.Compose(scene, first);
  again = first;
  for (int x = 0; x < again.Width(); ++x) again.SetColorAt(x, 5, MakeColor(255, 0, 0));  // the overlay
  picture.SetColorAt(100, 60, MakeColor(0, 255, 0));  // behind the viewport's back: not seen
  composer.Compose(scene, again);
  EXPECT_EQ(again, first);
}

}  // namespace
}  // namespace mv
