#include "colour/Resample.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "platform/ImageLimits.h"
#include "platform/Numbers.h"
#include "platform/Parallel.h"

namespace mv {

namespace {

// One source cell [i, i + 1] against a footprint [low, high] along one axis: how much of it the
// footprint covers and the mean offset of the covered part within the cell.
struct CellOverlap {
  int near;  // the cell's first pixel index, clamped into the picture
  int far;   // the next pixel index, clamped into the picture
  Extended width;
  Extended mean;
};

// The cells from floor(low) to floor(high), with the overlap rules of the resampler.
std::vector<CellOverlap> CellsOf(Extended low, Extended high, int size) {
  std::vector<CellOverlap> cells;
  const auto first = static_cast<int64_t>(std::floor(low)), last = static_cast<int64_t>(std::floor(high));
  for (int64_t i = first; i <= last; ++i) {
    const auto cell = static_cast<Extended>(i);
    CellOverlap overlap{};
    overlap.near = static_cast<int>(std::clamp<int64_t>(i, 0, size - 1));
    overlap.far = static_cast<int>(std::clamp<int64_t>(i + 1, 0, size - 1));
    if (cell > low && cell + 1 < high) {
      overlap.width = 1;
      overlap.mean = 0.5L;
    } else if (cell <= low && cell + 1 < high) {
      overlap.width = 1 - (low - cell);
      overlap.mean = (low - cell + 1) / 2;
    } else if (cell > low && cell + 1 >= high) {
      overlap.width = high - cell;
      overlap.mean = (high - cell) / 2;
    } else {
      overlap.width = high - low;
      overlap.mean = ((high - cell) + (low - cell)) / 2;
    }
    cells.push_back(overlap);
  }
  return cells;
}

// The cells of every destination column (or row) n of `count` along an axis of scale `step`.
std::vector<std::vector<CellOverlap>> FootprintCells(int count, Extended step, int size) {
  std::vector<std::vector<CellOverlap>> footprints(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) {
    const Extended low = n * step - 0.5L;
    const Extended high = (n + 1) * step - 0.500001L;
    footprints[static_cast<std::size_t>(n)] = CellsOf(low, high, size);
  }
  return footprints;
}

// Adds the integral of the bilinear surface over one cell's overlap to the three channels.
inline void AddCell(Extended (&sum)[3], const uint8_t* p00, const uint8_t* p10, const uint8_t* p01,
                    const uint8_t* p11, const CellOverlap& cx, const CellOverlap& cy) {
  const Extended area = cx.width * cy.width;
  const Extended u = cx.mean, v = cy.mean;
  for (int c = 0; c < 3; ++c) {
    const int a = p00[c], b = p10[c], d = p01[c], e = p11[c];
    const Extended surface = a + (b - a) * u + (d - a) * v + (e - b - d + a) * u * v;
    sum[c] += area * surface;
  }
}

// A channel's mean rounded to the nearest integer with halves to even, as RoundHalfEven does, for the
// non-negative means of the resampler (cheaper than the library's rounding, which dominated the time).
uint8_t RoundChannel(Extended mean) {
  if (!(mean > 0)) return 0;
  if (mean >= 255) return 255;  // not reached: the footprints fall short of the full cell
  const auto whole = static_cast<int>(mean);
  const Extended fraction = mean - whole;  // exact
  const bool up = fraction > 0.5L || (fraction == 0.5L && (whole & 1) != 0);
  return static_cast<uint8_t>(whole + (up ? 1 : 0));
}

void CheckDestinationSize(int width, int height) {
  if (width == 0 || height == 0) throw ZeroDivideError();
  if (width < 0 || height < 0) throw RangeError();
  if (!WithinImageLimits(width, height)) throw ImageLimitError(width, height);
}

// The exact rule for one destination pixel: every cell's bilinear integral summed in extended
// precision, the mean rounded with halves to even.
void ExactPixel(const Bitmap& pixels, const std::vector<CellOverlap>& columnCells,
                const std::vector<CellOverlap>& rowCells, Extended ratio, uint8_t* out) {
  Extended sum[3] = {0, 0, 0};
  for (const CellOverlap& cy : rowCells) {
    const uint8_t* nearRow = pixels.Row(cy.near);
    const uint8_t* farRow = pixels.Row(cy.far);
    for (const CellOverlap& cx : columnCells) {
      const std::size_t left = static_cast<std::size_t>(cx.near) * 3,
                        right = static_cast<std::size_t>(cx.far) * 3;
      AddCell(sum, nearRow + left, nearRow + right, farRow + left, farRow + right, cx, cy);
    }
  }
  for (int c = 0; c < 3; ++c) out[c] = RoundChannel(sum[c] / ratio);
}

// The weights of one axis as a linear filter: the integral of the bilinear surface over a footprint
// is, along each axis, width x (1 - mean) of the cell's near pixel plus width x mean of its far one.
struct AxisTaps {
  std::vector<int> first;           // per destination index: the first source index it reads
  std::vector<std::size_t> offset;  // per destination index: where its weights start in `weights`
  std::vector<int> count;           // per destination index: how many source indexes it reads
  std::vector<double> weights;
};

// Every weight is multiplied by `scale` (the columns' weights take the division of the sum by the ratio).
AxisTaps TapsOf(const std::vector<std::vector<CellOverlap>>& footprints, Extended scale) {
  AxisTaps taps;
  for (const std::vector<CellOverlap>& cells : footprints) {
    int low = cells.front().near, high = cells.front().far;
    for (const CellOverlap& cell : cells) {
      low = std::min(low, cell.near);
      high = std::max(high, cell.far);
    }
    std::vector<Extended> weights(static_cast<std::size_t>(high - low + 1), 0);
    for (const CellOverlap& cell : cells) {
      weights[static_cast<std::size_t>(cell.near - low)] += cell.width * (1 - cell.mean);
      weights[static_cast<std::size_t>(cell.far - low)] += cell.width * cell.mean;
    }
    taps.first.push_back(low);
    taps.offset.push_back(taps.weights.size());
    taps.count.push_back(high - low + 1);
    for (const Extended weight : weights) taps.weights.push_back(static_cast<double>(weight * scale));
  }
  return taps;
}

// Summing in doubles, a mean is off the extended one by at most about (taps across + taps down) x
// 3e-14, under 5e-9 for the widest pictures the program holds; a mean this close to a half could
// round either way and is computed by the exact rule instead.
constexpr double kUndecidedMargin = 1e-6;

// The rows sum[i] = weight x source[i] (or += when `add`), the body shared by the vector and plain forms.
[[gnu::always_inline]] inline void WeighRowBody(double* sum, const uint8_t* source, std::size_t count,
                                                double weight, bool add) {
  if (add) {
    for (std::size_t i = 0; i < count; ++i) sum[i] += weight * source[i];
  } else {
    for (std::size_t i = 0; i < count; ++i) sum[i] = weight * source[i];
  }
}
[[gnu::target("avx2,fma")]] void WeighRowAvx2(double* sum, const uint8_t* source, std::size_t count,
                                              double weight, bool add) {
  WeighRowBody(sum, source, count, weight, add);
}
void WeighRowPlain(double* sum, const uint8_t* source, std::size_t count, double weight, bool add) {
  WeighRowBody(sum, source, count, weight, add);
}

// Each mean rounded to the nearest byte (means are below 255 but for a rounding error); undecided[i]
// is 1 where the mean is too close to a half to decide. Answers whether any is.
[[gnu::always_inline]] inline bool RoundMeansBody(const double* means, std::size_t count, uint8_t* out,
                                                  uint8_t* undecided) {
  uint8_t any = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double mean = std::min(std::max(means[i], 0.0), 255.0);
    const double whole = std::trunc(mean);
    const double fraction = mean - whole;
    out[i] = static_cast<uint8_t>(static_cast<int>(whole) + (fraction > 0.5 ? 1 : 0));
    undecided[i] = std::fabs(fraction - 0.5) < kUndecidedMargin ? 1 : 0;
    any |= undecided[i];
  }
  return any != 0;
}
[[gnu::target("avx2,fma")]] bool RoundMeansAvx2(const double* means, std::size_t count, uint8_t* out,
                                                uint8_t* undecided) {
  const __m256d zero = _mm256_setzero_pd(), top = _mm256_set1_pd(255), half = _mm256_set1_pd(0.5),
                one = _mm256_set1_pd(1), margin = _mm256_set1_pd(kUndecidedMargin),
                magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  int any = 0;
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d mean = _mm256_min_pd(_mm256_max_pd(_mm256_loadu_pd(means + i), zero), top);
    const __m256d whole = _mm256_round_pd(mean, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __m256d fraction = _mm256_sub_pd(mean, whole);
    const __m256d rounded =
        _mm256_add_pd(whole, _mm256_and_pd(_mm256_cmp_pd(fraction, half, _CMP_GT_OQ), one));
    const __m128i words = _mm256_cvttpd_epi32(rounded);
    const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(words, words), words);
    const int32_t four = _mm_cvtsi128_si32(bytes);
    std::memcpy(out + i, &four, 4);
    const int close = _mm256_movemask_pd(
        _mm256_cmp_pd(_mm256_and_pd(_mm256_sub_pd(fraction, half), magnitude), margin, _CMP_LT_OQ));
    for (int k = 0; k < 4; ++k)
      undecided[i + static_cast<std::size_t>(k)] = static_cast<uint8_t>((close >> k) & 1);
    any |= close;
  }
  return RoundMeansBody(means + i, count - i, out + i, undecided + i) || any != 0;
}
bool RoundMeansPlain(const double* means, std::size_t count, uint8_t* out, uint8_t* undecided) {
  return RoundMeansBody(means, count, out, undecided);
}

// Resamples destination rows [begin, end): the source rows of each weighed into one row of sums,
// then each destination pixel from its columns of the sums.
class SeparableResampler {
 public:
  SeparableResampler(const Bitmap& pixels, Bitmap& destination, int width, int height)
      : pixels_(pixels),
        destination_(destination),
        columnCells_(FootprintCells(width, static_cast<Extended>(pixels.Width()) / width, pixels.Width())),
        rowCells_(FootprintCells(height, static_cast<Extended>(pixels.Height()) / height, pixels.Height())),
        columns_(
            TapsOf(columnCells_, static_cast<Extended>(width) * height / pixels.Width() / pixels.Height())),
        rows_(TapsOf(rowCells_, 1)),
        ratio_(static_cast<Extended>(pixels.Width()) * pixels.Height() / width / height),
        avx2_(__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {}

  void Rows(int begin, int end) const {
    const std::size_t rowBytes = static_cast<std::size_t>(pixels_.Width()) * 3;
    std::vector<double> sums(rowBytes);
    std::vector<double> means(3 * static_cast<std::size_t>(destination_.Width()));
    std::vector<uint8_t> undecided(means.size());
    for (int y = begin; y < end; ++y) {
      const auto yy = static_cast<std::size_t>(y);
      for (int t = 0; t < rows_.count[yy]; ++t) {
        const double weight = rows_.weights[rows_.offset[yy] + static_cast<std::size_t>(t)];
        (avx2_ ? WeighRowAvx2 : WeighRowPlain)(sums.data(), pixels_.Row(rows_.first[yy] + t), rowBytes,
                                               weight, t > 0);
      }
      Columns(sums.data(), y, means, undecided);
    }
  }

 private:
  void Columns(const double* sums, int y, std::vector<double>& means, std::vector<uint8_t>& undecided) const {
    const int width = destination_.Width();
    for (int x = 0; x < width; ++x) {
      const auto xx = static_cast<std::size_t>(x);
      const double* weights = columns_.weights.data() + columns_.offset[xx];
      const double* column = sums + static_cast<std::size_t>(columns_.first[xx]) * 3;
      double mean[3] = {0, 0, 0};
      for (int t = 0; t < columns_.count[xx]; ++t, column += 3) {
        mean[0] += weights[t] * column[0];
        mean[1] += weights[t] * column[1];
        mean[2] += weights[t] * column[2];
      }
      std::copy(mean, mean + 3, means.begin() + static_cast<std::ptrdiff_t>(3 * xx));
    }
    uint8_t* out = destination_.Row(y);
    if (!(avx2_ ? RoundMeansAvx2 : RoundMeansPlain)(means.data(), 3 * static_cast<std::size_t>(width), out,
                                                    undecided.data())) {
      return;
    }
    for (int x = 0; x < width; ++x) {
      const std::size_t i = 3 * static_cast<std::size_t>(x);
      if (undecided[i] | undecided[i + 1] | undecided[i + 2]) {
        ExactPixel(pixels_, columnCells_[static_cast<std::size_t>(x)], rowCells_[static_cast<std::size_t>(y)],
                   ratio_, out + i);
      }
    }
  }

  const Bitmap& pixels_;
  Bitmap& destination_;
  const std::vector<std::vector<CellOverlap>> columnCells_, rowCells_;
  const AxisTaps columns_, rows_;
  const Extended ratio_;
  const bool avx2_;
};

// Rows computed ahead of the progress protocol, a run of them at a time over the processors, so
// that Cancel is noticed within a run.
int RowsPerRun(int height) {
  return std::clamp((height + 15) / 16, 32, 256);
}

}  // namespace

std::optional<Bitmap> ResampleBitmap(const Bitmap& source, int width, int height, Feedback& feedback) {
  if (source.Width() <= 0 || source.Height() <= 0) throw std::invalid_argument("empty picture");
  CheckDestinationSize(width, height);
  Bitmap destination(width, height, PixelFormat::Bgr24, PixelBuffer::Fill::Unspecified);
  std::optional<Bitmap> converted;
  if (source.Format() != PixelFormat::Bgr24) converted = source.ToBgr24();
  const SeparableResampler resampler(converted ? *converted : source, destination, width, height);

  const std::unique_ptr<ProgressDialog> dialog = feedback.CreateProgressDialog();
  dialog->Start("縮小/拡大画像作成中", height - 1);
  const int threads = int64_t{width} * height >= 4096 ? ParallelThreads() : 1;
  for (int run = 0; run < height; run += RowsPerRun(height)) {
    const int runEnd = std::min(height, run + RowsPerRun(height));
    RunRowBands(runEnd - run, threads,
                [&](int begin, int end, std::size_t) { resampler.Rows(run + begin, run + end); });
    for (int y = run; y < runEnd; ++y) {
      if (!dialog->IsVisible()) {
        feedback.SetMessage("キャンセルしました");
        return std::nullopt;
      }
      dialog->StepIt();
      feedback.ProcessPendingEvents();
    }
  }
  return destination;
}

std::optional<Bitmap> MakeThumbnail(const Bitmap& source, int box, Feedback& feedback) {
  try {
    const int W = source.Width(), H = source.Height();
    const Extended scale = std::min(static_cast<Extended>(box) / W, static_cast<Extended>(box) / H);
    const auto width = CheckedInt32(TruncTowardZero(W * scale));
    const auto height = CheckedInt32(TruncTowardZero(scale * H));
    return ResampleBitmap(source, width, height, feedback);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace mv
