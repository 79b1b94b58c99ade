#include "colour/WaveRows.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace mv {

namespace {

constexpr double kLargestPhase = 1e9;

// pi / 2 in three parts (the first with its low bits zero, so n * part is exact for small n).
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi3 = 2.02226624871116645580e-21;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
// Minimax coefficients of sin and cos on [-pi/4, pi/4].
constexpr double kSin[6] = {1.58962301576546568060e-10, -2.50507477628578072866e-8,
                            2.75573136213857245213e-6,  -1.98412698295895385996e-4,
                            8.33333333332211858878e-3,  -1.66666666666666307295e-1};
constexpr double kCos[6] = {-1.13585365213876817300e-11, 2.08757008419747316778e-9,
                            -2.75573141792967388112e-7,  2.48015872888517045348e-5,
                            -1.38888888888730564116e-3,  4.16666666666665929218e-2};

struct Wave {
  int32_t centreX, centreY, wavelength, amplitude;
  double value;
  bool strange;  // mode 1: the phase is wavelength * distance
};

// How far from an integer the approximated offset must lie for its floor to be trusted.
double Margin(double phase) {
  return 1e-6 + std::fabs(phase) * 1e-13;
}

double Polynomial(const double (&c)[6], double z) {
  double p = c[0];
  for (int i = 1; i < 6; ++i) p = p * z + c[i];
  return p;
}

double CosApprox(double x) {
  const double n = std::nearbyint(x * kTwoOverPi);
  const double r = ((x - n * kHalfPi1) - n * kHalfPi2) - n * kHalfPi3;
  const double z = r * r;
  const double s = r + r * z * Polynomial(kSin, z);
  const double c = 1.0 - 0.5 * z + z * z * Polynomial(kCos, z);
  switch (static_cast<int64_t>(n) & 3) {
    case 0:
      return c;
    case 1:
      return -s;
    case 2:
      return -c;
    default:
      return s;
  }
}

// floor(offset) of `count` pixels from dx = firstDx on; decided[i] false where it must be computed
// by the rule.
void OffsetsPlain(const Wave& w, int64_t firstDx, int64_t dy2, int count, int32_t* floors, uint8_t* decided) {
  for (int i = 0; i < count; ++i) {
    const double dx = static_cast<double>(firstDx + i);
    const double distance = std::sqrt(dx * dx + static_cast<double>(dy2)) * w.value;
    const double phase = w.strange ? w.wavelength * distance : distance / w.wavelength;
    const double offset = CosApprox(phase) * w.amplitude / 3.0;
    const double k = std::floor(offset);
    const double fraction = offset - k;
    decided[i] = std::fabs(phase) < kLargestPhase && std::min(fraction, 1.0 - fraction) > Margin(phase);
    floors[i] = decided[i] ? static_cast<int32_t>(k) : 0;
  }
}

[[gnu::target("avx2,fma")]] __m256d PolynomialAvx2(const double (&c)[6], __m256d z) {
  __m256d p = _mm256_set1_pd(c[0]);
  for (int i = 1; i < 6; ++i) p = _mm256_fmadd_pd(p, z, _mm256_set1_pd(c[i]));
  return p;
}

[[gnu::target("avx2,fma")]] __m256d CosAvx2(__m256d x) {
  const __m256d n = _mm256_round_pd(_mm256_mul_pd(x, _mm256_set1_pd(kTwoOverPi)),
                                    _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  __m256d r = _mm256_fnmadd_pd(n, _mm256_set1_pd(kHalfPi1), x);
  r = _mm256_fnmadd_pd(n, _mm256_set1_pd(kHalfPi2), r);
  r = _mm256_fnmadd_pd(n, _mm256_set1_pd(kHalfPi3), r);
  const __m256d z = _mm256_mul_pd(r, r);
  const __m256d s = _mm256_fmadd_pd(_mm256_mul_pd(r, z), PolynomialAvx2(kSin, z), r);
  const __m256d c = _mm256_fmadd_pd(_mm256_mul_pd(z, z), PolynomialAvx2(kCos, z),
                                    _mm256_fnmadd_pd(_mm256_set1_pd(0.5), z, _mm256_set1_pd(1.0)));
  // The quadrant n mod 4 (n is an integer of moderate size here): 0 c, 1 -s, 2 -c, 3 s.
  const __m256d quarter = _mm256_floor_pd(_mm256_mul_pd(n, _mm256_set1_pd(0.25)));
  const __m256d quadrant = _mm256_fnmadd_pd(quarter, _mm256_set1_pd(4.0), n);
  const __m256d odd = _mm256_or_pd(_mm256_cmp_pd(quadrant, _mm256_set1_pd(1.0), _CMP_EQ_OQ),
                                   _mm256_cmp_pd(quadrant, _mm256_set1_pd(3.0), _CMP_EQ_OQ));
  const __m256d negative = _mm256_and_pd(_mm256_cmp_pd(quadrant, _mm256_set1_pd(0.5), _CMP_GT_OQ),
                                         _mm256_cmp_pd(quadrant, _mm256_set1_pd(2.5), _CMP_LT_OQ));
  const __m256d picked = _mm256_blendv_pd(c, s, odd);
  return _mm256_xor_pd(picked, _mm256_and_pd(negative, _mm256_set1_pd(-0.0)));
}

[[gnu::target("avx2,fma")]] void OffsetsAvx2(const Wave& w, int64_t firstDx, int64_t dy2, int count,
                                             int32_t* floors, uint8_t* decided) {
  const __m256d step = _mm256_setr_pd(0, 1, 2, 3);
  const __m256d dySquared = _mm256_set1_pd(static_cast<double>(dy2));
  // Products with reciprocals in place of the rule's divisions: an error of an ulp more is far
  // inside the margin.
  const __m256d value = _mm256_set1_pd(w.value), wavelength = _mm256_set1_pd(w.wavelength);
  const __m256d perWavelength = _mm256_set1_pd(1.0 / w.wavelength);
  const __m256d amplitudeThird = _mm256_set1_pd(w.amplitude / 3.0);
  const __m256d absMask = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d dx = _mm256_add_pd(_mm256_set1_pd(static_cast<double>(firstDx + i)), step);
    const __m256d distance = _mm256_mul_pd(_mm256_sqrt_pd(_mm256_fmadd_pd(dx, dx, dySquared)), value);
    const __m256d phase =
        w.strange ? _mm256_mul_pd(wavelength, distance) : _mm256_mul_pd(distance, perWavelength);
    const __m256d offset = _mm256_mul_pd(CosAvx2(phase), amplitudeThird);
    const __m256d k = _mm256_floor_pd(offset);
    const __m256d fraction = _mm256_sub_pd(offset, k);
    const __m256d nearest = _mm256_min_pd(fraction, _mm256_sub_pd(_mm256_set1_pd(1.0), fraction));
    const __m256d size = _mm256_and_pd(phase, absMask);
    const __m256d margin = _mm256_fmadd_pd(size, _mm256_set1_pd(1e-13), _mm256_set1_pd(1e-6));
    const __m256d sure = _mm256_and_pd(_mm256_cmp_pd(nearest, margin, _CMP_GT_OQ),
                                       _mm256_cmp_pd(size, _mm256_set1_pd(kLargestPhase), _CMP_LT_OQ));
    const int mask = _mm256_movemask_pd(sure);
    const __m128i kInt = _mm256_cvttpd_epi32(_mm256_and_pd(k, sure));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(floors + i), kInt);
    for (int lane = 0; lane < 4; ++lane) decided[i + lane] = static_cast<uint8_t>((mask >> lane) & 1);
  }
  OffsetsPlain(w, firstDx + i, dy2, count - i, floors + i, decided + i);
}

// Each channel byte c becomes clamp(c + shifts[i]), shifts between -127 and 127.
void ShiftPlain(uint8_t* bytes, const int8_t* shifts, int count) {
  for (int i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(std::clamp(bytes[i] + shifts[i], 0, 255));
}

[[gnu::target("avx2")]] void ShiftAvx2(uint8_t* bytes, const int8_t* shifts, int count) {
  const __m256i zero = _mm256_setzero_si256();
  int i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i k = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(shifts + i));
    const __m256i up = _mm256_max_epi8(k, zero), down = _mm256_max_epi8(_mm256_sub_epi8(zero, k), zero);
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + i),
                        _mm256_subs_epu8(_mm256_adds_epu8(c, up), down));
  }
  ShiftPlain(bytes + i, shifts + i, count - i);
}

// The floors of the offsets of one row and whether they decide each pixel, from a table over the
// horizontal distance from the centre (pixels on both sides of it share their distances).
struct RowOffsets {
  explicit RowOffsets(int width)
      : floors(static_cast<std::size_t>(width)), decided(static_cast<std::size_t>(width)), width(width) {}

  void Compute(const Wave& wave, bool avx2, int64_t firstDx, int64_t dy2) {
    const int64_t lastDx = firstDx + width - 1;
    const int64_t nearest = firstDx <= 0 && lastDx >= 0 ? 0 : std::min(std::abs(firstDx), std::abs(lastDx));
    const int64_t farthest = std::max(std::abs(firstDx), std::abs(lastDx));
    const int count = static_cast<int>(farthest - nearest + 1);
    std::vector<int32_t> tableFloors(static_cast<std::size_t>(count));
    std::vector<uint8_t> tableDecided(static_cast<std::size_t>(count));
    (avx2 ? OffsetsAvx2 : OffsetsPlain)(wave, nearest, dy2, count, tableFloors.data(), tableDecided.data());
    for (int x = 0; x < width; ++x) {
      const auto index = static_cast<std::size_t>(std::abs(firstDx + x) - nearest);
      floors[static_cast<std::size_t>(x)] = tableFloors[index];
      decided[static_cast<std::size_t>(x)] = tableDecided[index];
    }
  }

  // The floors of the decided pixels as shifts of their three channels; false when one does not
  // fit a byte (an amplitude beyond the dialog's).
  bool Shifts() {
    shifts.resize(3 * static_cast<std::size_t>(width));
    for (std::size_t x = 0; x < floors.size(); ++x) {
      const int32_t k = decided[x] ? floors[x] : 0;
      if (k < -127 || k > 127) return false;
      shifts[3 * x] = shifts[3 * x + 1] = shifts[3 * x + 2] = static_cast<int8_t>(k);
    }
    return true;
  }

  std::vector<int32_t> floors;
  std::vector<uint8_t> decided;
  std::vector<int8_t> shifts;
  int width;
};

uint8_t Shifted(uint8_t channel, int32_t k) {
  return static_cast<uint8_t>(std::clamp(channel + k, 0, 255));
}

}  // namespace

std::optional<ColorRow> WaveRow(const TColorFunction& func, std::span<const int32_t> params, double value,
                                int32_t mode, bool vector) {
  if (params.size() < 4 || !std::isfinite(value)) return std::nullopt;
  const Wave wave{params[0], params[1], params[2], params[3], value, mode == 1};
  if (!wave.strange && wave.wavelength == 0) return std::nullopt;
  const bool avx2 = vector && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  const auto reference = ReferenceColorRow(func, params, value, mode);
  return [&func, wave, avx2, reference, params = std::vector<int32_t>(params.begin(), params.end()), value,
          mode](uint8_t* row, int width, int y) {
    const int64_t dy = int64_t{y} - wave.centreY;
    const int64_t firstDx = -int64_t{wave.centreX}, lastDx = int64_t{width} - 1 - wave.centreX;
    const int64_t widest = std::max(firstDx * firstDx, lastDx * lastDx);
    // Distances whose square may not fit 32 bits: the rule, which raises where it overflows.
    if (std::abs(dy) > 46340 || widest + dy * dy > std::numeric_limits<int32_t>::max()) {
      reference(row, width, y);
      return;
    }
    if (wave.amplitude == 0) return;  // an offset of exactly 0 everywhere
    RowOffsets offsets(width);
    offsets.Compute(wave, avx2, firstDx, dy * dy);
    Pixel* pixel = reinterpret_cast<Pixel*>(row);
    // The undecided pixels by the rule, from their own values; the others shifted.
    std::vector<std::pair<int, Pixel>> ruled;
    for (int x = 0; x < width; ++x) {
      if (!offsets.decided[x]) ruled.emplace_back(x, func.Convert(x, y, pixel[x], params, value, mode));
    }
    if (offsets.Shifts()) {
      (avx2 ? ShiftAvx2 : ShiftPlain)(row, offsets.shifts.data(), 3 * width);
    } else {
      for (int x = 0; x < width; ++x) {
        const int32_t k = offsets.floors[static_cast<std::size_t>(x)];
        pixel[x] = Pixel{Shifted(pixel[x].blue, k), Shifted(pixel[x].green, k), Shifted(pixel[x].red, k)};
      }
    }
    for (const auto& [x, p] : ruled) pixel[x] = p;
  };
}

}  // namespace mv
