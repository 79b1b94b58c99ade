#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "RecordingFeedback.h"
#include "filtering/BorderPadding.h"
#include "filtering/ColorFilters.h"
#include "filtering/ConvolutionFinisher.h"
#include "filtering/FilterArithmetic.h"
#include "filtering/KernelFetch.h"
#include "filtering/NeighbourhoodPass.h"
#include "platform/ProgramFolder.h"

namespace mv {
namespace {

Bitmap RandomImage(int w, int h, std::mt19937& rng, int levels = 256) {
  Bitmap b(w, h);
  std::uniform_int_distribution<int> value(0, levels - 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 3 * w; ++x)
      b.Row(y)[x] = static_cast<uint8_t>(value(rng) * 255 / std::max(levels - 1, 1));
  return b;
}

Pixel PixelAt(const Bitmap& b, int x, int y) {
  const uint8_t* p = b.Row(y) + 3 * x;
  return Pixel{p[0], p[1], p[2]};
}

// The straightforward rule: one Apply per pixel, windows into a copy of the padded bitmap, rows top
// to bottom, each left to right.
Bitmap ReferencePass(const Bitmap& padded, const TColorFilter& filter, std::span<const int32_t> kernel,
                     double divisor, int32_t parameter, int r) {
  Bitmap source = padded;
  Bitmap out(padded.Width() - 2 * r, padded.Height() - 2 * r);
  const int n = 2 * r + 1;
  std::vector<Pixel*> window(static_cast<std::size_t>(n * n));
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) {
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
          window[static_cast<std::size_t>(n * i + j)] =
              reinterpret_cast<Pixel*>(source.Row(y + i) + 3 * (x + j));
      const Pixel p = filter.Apply(window, kernel, divisor, parameter);
      uint8_t* o = out.Row(y) + 3 * x;
      o[0] = p.blue, o[1] = p.green, o[2] = p.red;
    }
  }
  return out;
}

std::optional<Bitmap> Pass(const Bitmap& padded, const TColorFilter& filter, std::span<const int32_t> kernel,
                           double divisor, int32_t parameter, int r, int threads, RecordingFeedback& feedback,
                           bool progress = false) {
  PassSettings settings;
  settings.radius = r;
  settings.caption = "テスト";
  settings.threads = threads;
  settings.showProgress = progress;
  return RunNeighbourhoodPass(padded, filter, kernel, divisor, parameter, settings, feedback);
}

TEST(BorderPadding, RepeatsEdgesAndCorners) {
  std::mt19937 rng(1);
  const Bitmap image = RandomImage(4, 3, rng);
  const auto padded = PadBorder(image, 2);
  ASSERT_TRUE(padded);
  ASSERT_EQ(padded->Width(), 8);
  ASSERT_EQ(padded->Height(), 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int sx = std::clamp(x - 2, 0, 3), sy = std::clamp(y - 2, 0, 2);
      ASSERT_EQ(PixelAt(*padded, x, y), PixelAt(image, sx, sy)) << x << "," << y;
    }
  }
  Bitmap single(1, 1);
  single.SetColorAt(0, 0, MakeColor(1, 2, 3));
  const auto nine = PadBorder(single, 1);
  ASSERT_TRUE(nine);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(nine->ColorAt(x, y), MakeColor(1, 2, 3));
  EXPECT_FALSE(PadBorder(Bitmap(0, 5), 1));
  EXPECT_FALSE(PadBorder(image, -1));
  // Other formats are read as colours.
  Bitmap indexed(2, 1, PixelFormat::Indexed8);
  indexed.SetPalette({{10, 20, 30, 0}});
  EXPECT_EQ(PadBorder(indexed, 1)->ColorAt(0, 0), MakeColor(30, 20, 10));
}

TEST(NeighbourhoodPass, CompletesWithProgressAndMessages) {
  std::mt19937 rng(2);
  const Bitmap image = RandomImage(5, 4, rng);
  const auto padded = PadBorder(image, 1);
  const std::vector<int32_t> identity{0, 0, 0, 0, 1, 0, 0, 0, 0};
  for (int threads : {1, 2}) {
    RecordingFeedback feedback;
    const auto result = Pass(*padded, TCustomFilter(), identity, 1, 0, 1, threads, feedback, true);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, image);
    const Recording& r = feedback.record;
    EXPECT_EQ(r.progressCaption, "テストの進捗状況");
    EXPECT_EQ(r.progressMaximum, 6);  // the padded height
    EXPECT_EQ(r.steps, 4);
    EXPECT_EQ(r.pendingEventCalls, 4);
    EXPECT_EQ(r.dialogsAlive, 0);
    EXPECT_EQ(r.messages, std::vector<std::string>{"テストが完了しました"});
    EXPECT_EQ(r.cursors, (std::vector<Cursor>{Cursor::Hourglass, Cursor::Default}));
    EXPECT_TRUE(r.allOnCallingThread);
  }
  // 1 x 1 with radius 1, and the quiet flag.
  Bitmap single(1, 1);
  single.SetColorAt(0, 0, MakeColor(9, 8, 7));
  RecordingFeedback quiet;
  PassSettings settings;
  settings.quiet = true;
  const auto one = RunNeighbourhoodPass(*PadBorder(single, 1), TCustomFilter(), std::vector<int32_t>(9, 1), 9,
                                        0, settings, quiet);
  ASSERT_TRUE(one);
  EXPECT_EQ(*one, single);
  EXPECT_TRUE(quiet.record.messages.empty());
}

TEST(NeighbourhoodPass, CancelIsNoticedBeforeTheNextRow) {
  std::mt19937 rng(3);
  const auto padded = PadBorder(RandomImage(7, 9, rng), 1);
  for (int threads : {1, 2}) {
    for (int cancelAfter : {0, 3}) {
      RecordingFeedback feedback;
      feedback.record.cancelAfterSteps = cancelAfter;
      EXPECT_FALSE(
          Pass(*padded, TCustomFilter(), std::vector<int32_t>(9, 1), 9, 0, 1, threads, feedback, true));
      EXPECT_EQ(feedback.record.steps, cancelAfter);
      EXPECT_EQ(feedback.record.messages, std::vector<std::string>{"キャンセルしました"});
      EXPECT_EQ(feedback.record.cursors.back(), Cursor::Default);
      EXPECT_EQ(feedback.record.dialogsAlive, 0);
    }
  }
}

TEST(NeighbourhoodPass, FailuresReportTheErrorOfTheFirstFailingRow) {
  std::mt19937 rng(4);
  const auto padded = PadBorder(RandomImage(6, 5, rng), 1);
  for (int threads : {1, 3}) {
    RecordingFeedback zero;
    EXPECT_FALSE(Pass(*padded, TCustomFilter(), std::vector<int32_t>(9, 1), 0, 0, 1, threads, zero));
    EXPECT_EQ(zero.record.messages, std::vector<std::string>{"失敗:Floating point division by zero"});
    EXPECT_EQ(zero.record.cursors.back(), Cursor::Default);

    RecordingFeedback invalid;
    EXPECT_FALSE(Pass(*PadBorder(Bitmap(3, 3), 1), TCustomFilter(), std::vector<int32_t>(9, 1), 0, 0, 1,
                      threads, invalid));
    EXPECT_EQ(invalid.record.messages, std::vector<std::string>{"失敗:Invalid floating point operation"});

    // Weights too large for 32-bit products overflow only where the picture is not black: row 5.
    Bitmap dark(8, 12);
    dark.SetColorAt(3, 5, MakeColor(0, 0, 2));
    RecordingFeedback overflow;
    std::vector<int32_t> huge(9, 0);
    huge[4] = 2000000000;
    EXPECT_FALSE(Pass(*PadBorder(dark, 1), TCustomFilter(), huge, 1, 0, 1, threads, overflow, true));
    EXPECT_EQ(overflow.record.messages, std::vector<std::string>{"失敗:Range check error"});
    EXPECT_EQ(overflow.record.steps, 5);
    EXPECT_EQ(overflow.record.dialogsAlive, 0);
    RecordingFeedback quietOverflow;  // without the dialog the rows are not waited for one by one
    EXPECT_FALSE(Pass(*PadBorder(dark, 1), TCustomFilter(), huge, 1, 0, 1, threads, quietOverflow));
    EXPECT_EQ(quietOverflow.record.messages, std::vector<std::string>{"失敗:Range check error"});

    RecordingFeedback shortKernel;
    EXPECT_FALSE(Pass(*padded, TCustomFilter(), std::vector<int32_t>(8, 1), 1, 0, 1, threads, shortKernel));
    EXPECT_EQ(shortKernel.record.messages, std::vector<std::string>{"失敗:Range check error"});
  }
  RecordingFeedback unpadded;
  EXPECT_FALSE(Pass(Bitmap(2, 2), TCustomFilter(), std::vector<int32_t>(9, 1), 9, 0, 2, 1, unpadded));
  EXPECT_EQ(unpadded.record.messages.size(), 1u);
}

struct ConvolutionCase {
  int width, height, radius;
  std::vector<int32_t> kernel;
  double divisor;
  int32_t offset;
};

ConvolutionCase RandomCase(std::mt19937& rng, int index) {
  std::uniform_int_distribution<int> width(1, 40), height(1, 9), radius(0, 4), pick(0, 9);
  ConvolutionCase c{width(rng), height(rng), radius(rng), {}, 1, 0};
  if (index % 7 == 0) c.width = c.height = 1;
  const int taps = (2 * c.radius + 1) * (2 * c.radius + 1);
  const int style = index % 4;  // all equal, small, large, mixed signs
  std::uniform_int_distribution<int> small(-3, 3), large(-32767, 32767), positive(0, 1000);
  const int equal = small(rng);
  for (int t = 0; t < taps; ++t) {
    c.kernel.push_back(style == 0   ? equal
                       : style == 1 ? small(rng)
                       : style == 2 ? large(rng)
                                    : positive(rng));
  }
  const double divisors[] = {1, 9, 3, -2, 0.1, 3.7, 1e-3, 1000, 25, -0.3};
  c.divisor = divisors[pick(rng)];
  std::uniform_int_distribution<int> offset(-300, 300);
  c.offset = pick(rng) < 5 ? 0 : offset(rng);
  return c;
}

TEST(NeighbourhoodPass, ConvolutionFastPathsMatchTheRule) {
  std::mt19937 rng(5);
  for (int index = 0; index < 240; ++index) {
    const ConvolutionCase c = RandomCase(rng, index);
    const auto padded = PadBorder(RandomImage(c.width, c.height, rng), c.radius);
    const Bitmap expected = ReferencePass(*padded, TCustomFilter(), c.kernel, c.divisor, c.offset, c.radius);
    for (int threads : {1, 2, 5}) {
      RecordingFeedback feedback;
      const auto result =
          Pass(*padded, TCustomFilter(), c.kernel, c.divisor, c.offset, c.radius, threads, feedback);
      ASSERT_TRUE(result) << feedback.record.messages.back();
      ASSERT_EQ(*result, expected) << "case " << index << " r=" << c.radius << " D=" << c.divisor;
    }
  }
}

TEST(NeighbourhoodPass, SparseKernelsTouchingFewTapsMatchTheRule) {
  // Lines, half-lines and scattered taps in squares up to 17 x 17, weights of either sign; widths
  // around the 32-byte steps of the vector loop.
  std::mt19937 rng(8);
  for (int index = 0; index < 80; ++index) {
    std::uniform_int_distribution<int> radius(1, 8), width(1, 50), height(1, 7), weight(-300, 300);
    const int r = radius(rng), n = 2 * r + 1;
    std::vector<int32_t> kernel(static_cast<std::size_t>(n * n), 0);
    std::uniform_int_distribution<int> cell(0, n * n - 1);
    const int taps = 1 + index % (n * n / 4);
    for (int t = 0; t < taps; ++t) kernel[static_cast<std::size_t>(cell(rng))] = weight(rng);
    const double divisor = index % 3 == 0 ? 1 : taps + 0.5;
    const auto padded = PadBorder(RandomImage(width(rng), height(rng), rng), r);
    const Bitmap expected = ReferencePass(*padded, TCustomFilter(), kernel, divisor, 7, r);
    for (int threads : {1, 3}) {
      RecordingFeedback feedback;
      const auto result = Pass(*padded, TCustomFilter(), kernel, divisor, 7, r, threads, feedback);
      ASSERT_TRUE(result);
      ASSERT_EQ(*result, expected) << "case " << index << " r=" << r << " taps=" << taps;
    }
  }
}

TEST(NeighbourhoodPass, LibraryKernelsThroughTheFastPathsMatchTheRule) {
  std::mt19937 rng(6);
  const std::string folder = ExecutableFolder();
  for (auto [number, side] : {std::pair{101, 41},
                              {100, 43},
                              {101, 7},
                              {12, 3},
                              {19, 3},
                              {-2, 3},
                              {210, 9},
                              {200, 41},
                              {203, 41},
                              {214, 41},
                              {217, 13}}) {
    RecordingFeedback feedback;
    TMaskArray kernel(number >= 100 ? side * side : 9);
    const int32_t divisor = FetchKernel(folder, number, side, kernel, feedback);
    ASSERT_NE(divisor, 0) << number;
    const int r = side / 2;
    const auto padded = PadBorder(RandomImage(23, 17, rng), r);
    const Bitmap expected = ReferencePass(*padded, TCustomFilter(), kernel.Elements(), divisor, 0, r);
    const auto result = Pass(*padded, TCustomFilter(), kernel.Elements(), divisor, 0, r, 2, feedback);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, expected) << number;
  }
}

TEST(NeighbourhoodPass, OtherFiltersMatchTheRule) {
  std::mt19937 rng(7);
  const std::vector<int32_t> sobel{1, 0, -1, 2, 0, -2, 1, 0, -1, 1, 2, 1, 0, 0, 0, -1, -2, -1};
  const std::vector<int32_t> diffusion{0, 0, 0, 0, 16, -7, -3, -5, -1};
  for (int index = 0; index < 60; ++index) {
    std::uniform_int_distribution<int> side(1, 40);
    const int w = index % 10 == 0 ? 1 : side(rng), h = side(rng);
    // Few brightness levels make ties, which decide which neighbour the median returns.
    const Bitmap image = RandomImage(w, h, rng, index % 2 == 0 ? 3 : 256);
    const auto padded = PadBorder(image, 1);
    for (int rank = 0; rank <= 8; ++rank) {
      RecordingFeedback feedback;
      const auto result = Pass(*padded, TMedianFilter(), {}, rank + 0.5, 0, 1, 2, feedback);
      ASSERT_TRUE(result);
      ASSERT_EQ(*result, ReferencePass(*padded, TMedianFilter(), {}, rank + 0.5, 0, 1))
          << index << " " << rank;
    }
    RecordingFeedback feedback;
    const auto lineArt = Pass(*padded, TLineArtFilter(), sobel, 1, index % 3, 1, 2, feedback);
    ASSERT_TRUE(lineArt);
    EXPECT_EQ(*lineArt, ReferencePass(*padded, TLineArtFilter(), sobel, 1, index % 3, 1));
    // Error diffusion writes into the pass's source copy: the scan order shows in the result.
    const auto diffused = Pass(*padded, TErrorDiffusionFilter(), diffusion, 1.5, 0, 1, 2, feedback);
    ASSERT_TRUE(diffused);
    EXPECT_EQ(*diffused, ReferencePass(*padded, TErrorDiffusionFilter(), diffusion, 1.5, 0, 1));
  }
  RecordingFeedback feedback;
  EXPECT_FALSE(Pass(*PadBorder(Bitmap(3, 3), 1), TMedianFilter(), {}, 9, 0, 1, 2, feedback));
  EXPECT_EQ(feedback.record.messages.back(), "失敗:Range check error");
}

TEST(ConvolutionFinisher, EveryMethodAgreesWithTheExtendedRule) {
  std::mt19937_64 rng(8);
  const double divisors[] = {1, 7, -7, 1681000, 257610, 2147483648.0, 0.1, 1.0 / 3, -2.5, 1e-300};
  for (double divisor : divisors) {
    for (int32_t offset : {0, -128, 255, 100000}) {
      for (int64_t span : {int64_t{1000}, int64_t{1} << 30, int64_t{1} << 39}) {
        const ConvolutionFinisher finish(divisor, offset, -span, span);
        std::uniform_int_distribution<int64_t> sum(-span, span);
        for (int k = 0; k < 3000; ++k) {
          int64_t s = sum(rng);
          // Also sums right at multiples of the divisor, where truncation is decided.
          if (k % 3 == 0 && std::fabs(divisor) >= 1)
            s = static_cast<int64_t>(divisor) * (s / static_cast<int64_t>(std::fabs(divisor) * 300 + 1)) +
                (k % 2);
          if (s < -span || s > span) continue;
          ASSERT_EQ(finish(s), FinishConvolution(static_cast<double>(s), divisor, offset))
              << "D=" << divisor << " A=" << offset << " s=" << s;
        }
      }
    }
  }
  EXPECT_EQ(ConvolutionFinisher(9, 0, 0, 2295).Chosen(), ConvolutionFinisher::Method::Table);
  EXPECT_EQ(ConvolutionFinisher(257610, 0, 0, 65690550).Chosen(),
            ConvolutionFinisher::Method::IntegerDivision);
  EXPECT_EQ(ConvolutionFinisher(0.1, 0, 0, 65690550).Chosen(), ConvolutionFinisher::Method::Exact);
}

// Rows finished in vector lanes give the byte of the extended rule for every sum in range, with
// every scale the box sums use, at every position of a row (blocks of 32 and the tail).
TEST(ConvolutionFinisher, RowsGiveTheExtendedRulesBytes) {
  struct Case {
    double divisor;
    int32_t offset;
    int64_t minSum, maxSum;
    int64_t scale;
  };
  const Case cases[] = {
      {9, 0, 0, 2295, 1},           {1, 0, 0, 255, 1},         {16, 0, 0, 4080, 1},
      {-7, 100, -1785, 1785, 1},    {3, -128, -2295, 2295, 1}, {1849, 0, 0, 471495, 43},
      {10, 2147483600, 0, 2550, 1}, {2.5, 0, 0, 2295, 1},      {65536, 7, -4000000, 4000000, 1}};
  for (const Case& c : cases) {
    const ConvolutionFinisher finish(c.divisor, c.offset, c.minSum, c.maxSum);
    std::vector<int32_t> sums;
    for (int64_t s = c.minSum / c.scale; s * c.scale <= c.maxSum; ++s)
      sums.push_back(static_cast<int32_t>(s));
    for (int count : {static_cast<int>(sums.size()), 31, 33}) {
      count = std::min(count, static_cast<int>(sums.size()));
      std::vector<uint8_t> row(static_cast<std::size_t>(count));
      finish.FinishRow(sums.data(), c.scale, row.data(), count);
      for (int i = 0; i < count; ++i) {
        const double sum = static_cast<double>(c.scale * sums[static_cast<std::size_t>(i)]);
        ASSERT_EQ(row[static_cast<std::size_t>(i)], FinishConvolution(sum, c.divisor, c.offset))
            << "D=" << c.divisor << " A=" << c.offset << " s=" << sum;
      }
    }
  }
  if (__builtin_cpu_supports("avx2")) {
    EXPECT_TRUE(ConvolutionFinisher(9, 0, 0, 2295).Vectorised());
  }
}

TEST(KernelFetch, MissingLibraryShowsTheReinstallBox) {
  RecordingFeedback feedback;
  TMaskArray kernel(9);
  EXPECT_EQ(FetchKernel("/nonexistent/folder", 1, 3, kernel, feedback), 0);
  ASSERT_EQ(feedback.record.boxes.size(), 1u);
  EXPECT_EQ(feedback.record.boxes[0].first, BoxKind::Error);
  EXPECT_EQ(feedback.record.boxes[0].second,
            "\r\nmvfilters.soが見つかりませんでした\r\n\r\nアプリケーションを再インストールしてください");
  for (int32_t w : kernel) EXPECT_EQ(w, 0);

  RecordingFeedback found;
  TMaskArray gauss(9);
  EXPECT_EQ(FetchKernel(ExecutableFolder(), 101, 3, gauss, found), 7248);
  EXPECT_EQ(gauss[0], 716);
  EXPECT_EQ(gauss.RefCount(), 1);
  EXPECT_TRUE(found.record.boxes.empty());
}

}  // namespace
}  // namespace mv
