#include "option/RedLuminanceRow.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mv {

void RedLuminanceRowPlain(const uint8_t* bgr, int width, uint16_t* out) {
  for (int x = 0; x < width; ++x, bgr += 3)
    out[x] = static_cast<uint16_t>(bgr[2] << 8 | LuminanceOf(bgr[2], bgr[1], bgr[0]));
}

#if defined(__x86_64__)

namespace {

// Eight pixels at a time. The weighted sum s is exact in 32 bits (at most 254998215); s div 1000000
// is (s div 64) div 15625, and s div 64 < 2^22 is exact in single precision, where the correctly
// rounded quotient by 15625 lies at least 1/15625 away from the next integer unless it is one, so
// truncating it gives the integer quotient (checked against the plain rule for every colour).
__attribute__((target("avx2"))) void RedLuminanceRowAvx2(const uint8_t* bgr, int width, uint16_t* out) {
  // Each 128-bit half holds four pixels (12 bytes); these pick one channel of each into 32 bits.
  const __m256i pickBlue = _mm256_setr_epi8(0, -1, -1, -1, 3, -1, -1, -1, 6, -1, -1, -1, 9, -1, -1, -1, 0, -1,
                                            -1, -1, 3, -1, -1, -1, 6, -1, -1, -1, 9, -1, -1, -1);
  const __m256i pickGreen = _mm256_setr_epi8(1, -1, -1, -1, 4, -1, -1, -1, 7, -1, -1, -1, 10, -1, -1, -1, 1,
                                             -1, -1, -1, 4, -1, -1, -1, 7, -1, -1, -1, 10, -1, -1, -1);
  const __m256i pickRed = _mm256_setr_epi8(2, -1, -1, -1, 5, -1, -1, -1, 8, -1, -1, -1, 11, -1, -1, -1, 2, -1,
                                           -1, -1, 5, -1, -1, -1, 8, -1, -1, -1, 11, -1, -1, -1);
  const __m256i redWeight = _mm256_set1_epi32(298912);
  const __m256i greenWeight = _mm256_set1_epi32(586611);
  const __m256i blueWeight = _mm256_set1_epi32(114470);
  const __m256 divisor = _mm256_set1_ps(15625.0f);
  int x = 0;
  // The second half is read from byte 12 for 16 bytes: four bytes past the eight pixels, which
  // must still be pixels of this row.
  for (; x + 10 <= width; x += 8, bgr += 24) {
    const __m256i pixels = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(bgr + 12),
                                               reinterpret_cast<const __m128i*>(bgr));
    const __m256i red = _mm256_shuffle_epi8(pixels, pickRed);
    const __m256i sum = _mm256_add_epi32(
        _mm256_add_epi32(_mm256_mullo_epi32(red, redWeight),
                         _mm256_mullo_epi32(_mm256_shuffle_epi8(pixels, pickGreen), greenWeight)),
        _mm256_mullo_epi32(_mm256_shuffle_epi8(pixels, pickBlue), blueWeight));
    const __m256 scaled = _mm256_cvtepi32_ps(_mm256_srli_epi32(sum, 6));
    const __m256i luminance = _mm256_cvttps_epi32(_mm256_div_ps(scaled, divisor));
    const __m256i pairs = _mm256_or_si256(_mm256_slli_epi32(red, 8), luminance);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                     _mm_packus_epi32(_mm256_castsi256_si128(pairs), _mm256_extracti128_si256(pairs, 1)));
  }
  RedLuminanceRowPlain(bgr, width - x, out + x);
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace

void RedLuminanceRow(const uint8_t* bgr, int width, uint16_t* out) {
  if (HasAvx2())
    RedLuminanceRowAvx2(bgr, width, out);
  else
    RedLuminanceRowPlain(bgr, width, out);
}

#else

void RedLuminanceRow(const uint8_t* bgr, int width, uint16_t* out) {
  RedLuminanceRowPlain(bgr, width, out);
}

#endif

}  // namespace mv
