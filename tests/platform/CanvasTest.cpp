#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <utility>

namespace mv {
namespace {

constexpr ColorRef kGrey = MakeColor(0x80, 0x80, 0x80);

Bitmap Filled(int w, int h, ColorRef c, PixelFormat format = PixelFormat::Bgr24) {
  Bitmap b(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetColorAt(x, y, c);
  return b;
}

Bitmap Random(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetColorAt(x, y, rng() & 0xFFFFFF);
  return b;
}

// The pixels that differ from `colour`.
std::set<std::pair<int, int>> Marked(const Bitmap& b, ColorRef colour = colors::kWhite) {
  std::set<std::pair<int, int>> marked;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.ColorAt(x, y) != colour) marked.insert({x, y});
  return marked;
}

std::set<std::pair<int, int>> InvertedLine(int w, int h, Point from, Point to) {
  Bitmap b = Filled(w, h, colors::kWhite);
  Canvas canvas(b);
  canvas.SetPenMode(PenMode::Not);
  canvas.MoveTo(from.x, from.y);
  canvas.LineTo(to.x, to.y);
  return Marked(b);
}

TEST(CanvasLine, LeavesOutTheEndPixelAndBreaksTiesTowardSmallerCoordinates) {
  EXPECT_EQ(InvertedLine(8, 4, {1, 1}, {5, 1}),
            (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  EXPECT_EQ(InvertedLine(8, 8, {2, 6}, {2, 3}), (std::set<std::pair<int, int>>{{2, 6}, {2, 5}, {2, 4}}));
  EXPECT_EQ(InvertedLine(8, 8, {0, 0}, {4, 1}),
            (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
  EXPECT_EQ(InvertedLine(8, 8, {4, 1}, {0, 0}),
            (std::set<std::pair<int, int>>{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
  EXPECT_TRUE(InvertedLine(8, 8, {3, 3}, {3, 3}).empty());

  Bitmap b = Filled(4, 4, colors::kWhite);
  Canvas canvas(b);
  canvas.MoveTo(0, 0);
  canvas.LineTo(3, 3);
  EXPECT_EQ(canvas.PenPosition(), (Point{3, 3}));
  EXPECT_EQ(Marked(b), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
}

TEST(CanvasLine, ReversedLinesCoverTheSamePixelsAndStepOneAtATime) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coordinate(-5, 24);
  for (int i = 0; i < 400; ++i) {
    const Point a{coordinate(rng), coordinate(rng)}, b{coordinate(rng), coordinate(rng)};
    auto forward = InvertedLine(20, 20, a, b);
    auto backward = InvertedLine(20, 20, b, a);
    // Only pixels inside the 20 x 20 target can show.
    auto inside = [](Point p) { return p.x >= 0 && p.y >= 0 && p.x < 20 && p.y < 20; };
    if (inside(b)) forward.insert({b.x, b.y});
    if (inside(a)) backward.insert({a.x, a.y});
    ASSERT_EQ(forward, backward) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
  // A line inside the target has max(|dx|, |dy|) pixels.
  EXPECT_EQ(InvertedLine(20, 20, {2, 3}, {17, 9}).size(), 15u);
  EXPECT_EQ(InvertedLine(20, 20, {15, 1}, {11, 18}).size(), 17u);
}

TEST(CanvasRectangle, OutlineOnceAndInsideByBrush) {
  // The overlay's marker: a hollow 4 x 4 square around (5, 4) covering 3..6 and 2..5.
  Bitmap b = Filled(10, 8, colors::kWhite);
  Canvas canvas(b);
  canvas.SetPenMode(PenMode::Not);
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.Rectangle(5 - 2, 4 - 2, 5 + 2, 4 + 2);
  std::set<std::pair<int, int>> outline;
  for (int x = 3; x <= 6; ++x) outline.insert({x, 2}), outline.insert({x, 5});
  for (int y = 3; y <= 4; ++y) outline.insert({3, y}), outline.insert({6, y});
  EXPECT_EQ(Marked(b), outline);  // the corners are inverted once, not twice

  // Inverting again restores the picture, also for thin rectangles and a solid brush.
  const Bitmap picture = Random(12, 9, 3);
  Bitmap work = picture;
  Canvas again(work);
  again.SetPenMode(PenMode::Not);
  for (int pass = 0; pass < 2; ++pass) {
    again.Rectangle(1, 1, 9, 7);
    again.Rectangle(4, 0, 5, 9);
    again.Rectangle(0, 8, 12, 9);
    again.Rectangle(10, 2, 11, 3);
    again.MoveTo(0, 0);
    again.LineTo(11, 5);
  }
  EXPECT_EQ(work, picture);

  // Pen outline, brush inside; right and bottom exclusive; degenerate areas draw nothing.
  Bitmap filled = Filled(6, 6, colors::kWhite);
  Canvas solid(filled);
  solid.SetBrushColor(kGrey);
  solid.Rectangle(1, 1, 5, 4);
  EXPECT_EQ(filled.ColorAt(1, 1), colors::kBlack);
  EXPECT_EQ(filled.ColorAt(4, 3), colors::kBlack);
  EXPECT_EQ(filled.ColorAt(2, 2), kGrey);
  EXPECT_EQ(filled.ColorAt(3, 2), kGrey);
  EXPECT_EQ(filled.ColorAt(5, 2), colors::kWhite);
  EXPECT_EQ(filled.ColorAt(2, 4), colors::kWhite);
  Bitmap plain = Filled(6, 6, colors::kWhite), swapped = Filled(6, 6, colors::kWhite);
  Canvas(plain).Rectangle(1, 1, 5, 4);
  Canvas(swapped).Rectangle(5, 4, 1, 1);
  EXPECT_EQ(swapped, plain);
  Bitmap untouched = Filled(6, 6, colors::kWhite);
  Canvas degenerate(untouched);
  degenerate.Rectangle(2, 2, 2, 5);
  degenerate.Rectangle(1, 3, 5, 3);
  EXPECT_TRUE(Marked(untouched).empty());
}

TEST(CanvasBrush, HatchesAreAlignedToTheTargetAndOrientedAsNamed) {
  Bitmap b = Filled(8, 8, colors::kWhite);
  Canvas canvas(b);
  canvas.SetBrushStyle(BrushStyle::BDiagonal);
  canvas.SetBrushColor(colors::kBlack);
  canvas.FillRect({0, 0, 8, 8});
  // From lower left to upper right: (0, 7) ... (7, 0).
  std::set<std::pair<int, int>> diagonal;
  for (int i = 0; i < 8; ++i) diagonal.insert({i, 7 - i});
  EXPECT_EQ(Marked(b), diagonal);

  Bitmap f = Filled(8, 8, colors::kWhite);
  Canvas forward(f);
  forward.SetBrushStyle(BrushStyle::FDiagonal);
  forward.SetBrushColor(colors::kBlack);
  forward.SetHatchBackground(true, kGrey);
  forward.FillRect({2, 3, 6, 5});  // the pattern keeps the target's alignment
  EXPECT_EQ(f.ColorAt(3, 3), colors::kBlack);
  EXPECT_EQ(f.ColorAt(4, 4), colors::kBlack);
  EXPECT_EQ(f.ColorAt(2, 3), kGrey);  // opaque gap
  EXPECT_EQ(f.ColorAt(1, 1), colors::kWhite);
  EXPECT_EQ(Marked(f).size(), 8u);

  Bitmap h = Filled(16, 16, colors::kWhite);
  Canvas horizontal(h);
  horizontal.SetBrushStyle(BrushStyle::Horizontal);
  horizontal.SetBrushColor(colors::kBlack);
  horizontal.FillRect({0, 0, 16, 16});
  EXPECT_EQ(Marked(h).size(), 32u);
  EXPECT_EQ(h.ColorAt(5, 3), colors::kBlack);
  EXPECT_EQ(h.ColorAt(5, 11), colors::kBlack);
}

TEST(CanvasDraw, TernaryOperationsCombineSourceDestinationAndPattern) {
  using Function = std::function<uint32_t(uint32_t, uint32_t, uint32_t)>;
  const std::pair<uint32_t, Function> named[] = {
      {rop::kSrcCopy, [](uint32_t, uint32_t s, uint32_t) { return s; }},
      {rop::kSrcPaint, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }},
      {rop::kSrcAnd, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }},
      {rop::kSrcInvert, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }},
      {rop::kSrcErase, [](uint32_t, uint32_t s, uint32_t d) { return s & ~d; }},
      {rop::kNotSrcCopy, [](uint32_t, uint32_t s, uint32_t) { return ~s; }},
      {rop::kNotSrcErase, [](uint32_t, uint32_t s, uint32_t d) { return ~(s | d); }},
      {rop::kMergeCopy, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }},
      {rop::kMergePaint, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }},
      {rop::kPatCopy, [](uint32_t p, uint32_t, uint32_t) { return p; }},
      {rop::kPatPaint, [](uint32_t p, uint32_t s, uint32_t d) { return p | ~s | d; }},
      {rop::kPatInvert, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }},
      {rop::kDstInvert, [](uint32_t, uint32_t, uint32_t d) { return ~d; }},
      {rop::kBlackness, [](uint32_t, uint32_t, uint32_t) { return 0u; }},
      {rop::kWhiteness, [](uint32_t, uint32_t, uint32_t) { return ~0u; }},
  };
  const Bitmap source = Random(5, 4, 11);
  const Bitmap destination = Random(7, 6, 12);
  const ColorRef pattern = MakeColor(0x3C, 0xA5, 0x0F);
  for (const auto& [code, rule] : named) {
    Bitmap work = destination;
    Canvas canvas(work);
    canvas.SetBrushColor(pattern);
    canvas.Draw(1, 2, source, code);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 7; ++x) {
        const bool covered = x >= 1 && x < 6 && y >= 2 && y < 6;
        const ColorRef want =
            covered ? rule(pattern, source.ColorAt(x - 1, y - 2), destination.ColorAt(x, y)) & 0xFFFFFF
                    : destination.ColorAt(x, y);
        ASSERT_EQ(work.ColorAt(x, y), want) << std::hex << code << " at " << x << "," << y;
      }
    }
  }
}

TEST(CanvasDraw, ReadsAnySourceFormatAndItsOwnTarget) {
  Bitmap indexed(3, 1, PixelFormat::Indexed8);
  indexed.SetPalette({{1, 2, 3, 0}, {200, 100, 50, 0}});
  indexed.SetIndexAt(1, 0, 1);
  Bitmap work = Filled(3, 1, colors::kWhite, PixelFormat::Bgrx32);
  Canvas canvas(work);
  canvas.Draw(0, 0, indexed);
  EXPECT_EQ(work.ColorAt(0, 0), MakeColor(3, 2, 1));
  EXPECT_EQ(work.ColorAt(1, 0), MakeColor(50, 100, 200));

  // Drawing the picture onto itself shifted reads the picture as it was.
  const Bitmap picture = Random(6, 5, 21);
  Bitmap self = picture;
  Canvas selfCanvas(self);
  selfCanvas.Draw(1, 1, self);
  EXPECT_EQ(self.ColorAt(5, 4), picture.ColorAt(4, 3));
  EXPECT_EQ(self.ColorAt(1, 1), picture.ColorAt(0, 0));
  selfCanvas.Draw(0, 0, self, rop::kDstInvert);
  EXPECT_EQ(self.ColorAt(0, 0), ~picture.ColorAt(0, 0) & 0xFFFFFF);
}

TEST(CanvasStretch, NearestNeighbourColumnsAndRows) {
  Bitmap source(2, 1);
  source.SetColorAt(0, 0, colors::kRed);
  source.SetColorAt(1, 0, colors::kBlue);
  Bitmap work = Filled(7, 3, colors::kWhite);
  Canvas canvas(work);
  canvas.StretchDraw({1, 0, 6, 2}, source);
  const ColorRef expected[] = {colors::kWhite, colors::kRed,  colors::kRed,  colors::kRed,
                               colors::kBlue,  colors::kBlue, colors::kWhite};
  for (int x = 0; x < 7; ++x) {
    EXPECT_EQ(work.ColorAt(x, 0), expected[x]) << x;
    EXPECT_EQ(work.ColorAt(x, 1), expected[x]) << x;
    EXPECT_EQ(work.ColorAt(x, 2), colors::kWhite);
  }
}

// The same drawing on a large target and on a window of it (through the origin) gives the same
// pixels in the window: everything is clipped at each edge and offset by the origin.
void DrawScene(Canvas& canvas, const Bitmap& sprite) {
  canvas.SetPenColor(MakeColor(10, 20, 30));
  canvas.SetPenMode(PenMode::Xor);
  canvas.MoveTo(-3, 2);
  canvas.LineTo(45, 27);
  canvas.LineTo(12, -4);
  canvas.LineTo(30, 40);
  canvas.SetBrushStyle(BrushStyle::DiagCross);
  canvas.SetBrushColor(MakeColor(200, 0, 0));
  canvas.Rectangle(12, 5, 40, 25);
  canvas.Rectangle(0, 0, 19, 11);
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.FillRect({20, 15, 50, 50});
  canvas.Draw(11, 7, sprite, rop::kSrcInvert);
  canvas.Draw(22, 17, sprite, rop::kPatInvert);
  canvas.StretchDraw({13, 18, 27, 33}, sprite);
  for (int i = 0; i < 40; ++i) canvas.SetPixel(i, 40 - i);
}

TEST(CanvasClipping, AWindowThroughTheOriginMatchesTheWholePicture) {
  const Bitmap sprite = Random(9, 6, 5);
  Bitmap whole = Random(40, 30, 6);
  const Point origin{16, 8};  // a multiple of 8, so hatches line up in both
  Bitmap window = whole.CopyRegion(origin.x, origin.y, 15, 12);
  Canvas wholeCanvas(whole);
  DrawScene(wholeCanvas, sprite);
  Canvas windowCanvas(window, origin);
  DrawScene(windowCanvas, sprite);
  EXPECT_EQ(window, whole.CopyRegion(origin.x, origin.y, 15, 12));
  EXPECT_EQ(windowCanvas.PenPosition(), (Point{30, 40}));
}

TEST(CanvasPen, ModesAndTargets) {
  Bitmap b = Filled(4, 1, MakeColor(0xF0, 0x0F, 0x55), PixelFormat::Bgrx32);
  b.Row(0)[3] = 0x77;
  Canvas canvas(b);
  canvas.SetPenColor(MakeColor(0xFF, 0x00, 0x0F));
  canvas.SetPenMode(PenMode::Xor);
  canvas.SetPixel(0, 0);
  canvas.SetPenMode(PenMode::MaskPenNot);
  canvas.SetPixel(1, 0);
  canvas.SetPenMode(PenMode::NotMerge);
  canvas.SetPixel(2, 0);
  EXPECT_EQ(b.ColorAt(0, 0), MakeColor(0x0F, 0x0F, 0x5A));
  EXPECT_EQ(b.ColorAt(1, 0), MakeColor(0x0F, 0x00, 0x0A));
  EXPECT_EQ(b.ColorAt(2, 0), MakeColor(0x00, 0xF0, 0xA0));
  EXPECT_EQ(b.Row(0)[3], 0x77);  // the unused byte of a 32-bit pixel is left alone

  Bitmap indexed(2, 2, PixelFormat::Indexed8);
  EXPECT_THROW(Canvas{indexed}, std::logic_error);
  Canvas none;
  EXPECT_THROW(none.LineTo(1, 1), std::logic_error);
}

}  // namespace
}  // namespace mv
