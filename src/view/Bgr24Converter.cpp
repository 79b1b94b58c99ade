#include "view/Bgr24Converter.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

#include "view/StretchTables.h"

namespace mv {

namespace {

// Every value a pixel of `format` can hold, in a one-row bitmap, so the table takes its colours from
// ColorAt itself.
Bitmap AllValues(const Bitmap& picture) {
  const PixelFormat format = picture.Format();
  if (format == PixelFormat::Rgb555) {
    Bitmap values(1 << 15, 1, format);
    for (int v = 0; v < (1 << 15); ++v) {
      values.Row(0)[2 * v] = static_cast<uint8_t>(v);
      values.Row(0)[2 * v + 1] = static_cast<uint8_t>(v >> 8);
    }
    return values;
  }
  Bitmap values(1 << picture.BitsPerPixel(), 1, format);
  values.SetPalette(picture.Palette());
  for (int i = 0; i < values.Width(); ++i) values.SetIndexAt(i, 0, i);
  return values;
}

uint32_t Packed(ColorRef color) {
  return static_cast<uint32_t>(BlueOf(color)) | static_cast<uint32_t>(GreenOf(color)) << 8 |
         static_cast<uint32_t>(RedOf(color)) << 16;
}

void StoreThree(uint32_t color, uint8_t* dst) {
  dst[0] = static_cast<uint8_t>(color);
  dst[1] = static_cast<uint8_t>(color >> 8);
  dst[2] = static_cast<uint8_t>(color >> 16);
}

// Pixels [left, right) of one row: colorAt(x) gives pixel x as 0x00RRGGBB. Every pixel but the last is
// stored as four bytes (little-endian B, G, R, 0), the fourth overwritten by the next pixel.
template <typename ColorAt>
void ConvertRow(int left, int right, uint8_t* dst, const ColorAt& colorAt) {
  int x = left;
  for (; x + 1 < right; ++x, dst += 3) {
    const uint32_t color = colorAt(x);
    std::memcpy(dst, &color, 4);
  }
  if (x < right) StoreThree(colorAt(x), dst);
}

// Eight pixels from pixel x on as 0x??RRGGBB in the lanes of a register, per format. Palettes of up to
// sixteen colours are held in registers and looked up with permutes; 5-5-5 values are widened with
// shifts, as ColorAt widens them; the 256-colour palette is read from its table. The 4-bit format
// needs x even, the 1-bit format x a multiple of eight.
template <PixelFormat format>
struct EightColors;

template <>
struct EightColors<PixelFormat::Bgrx32> {
  explicit EightColors(const uint32_t*) {}
  [[gnu::target("avx2")]] __m256i operator()(const uint8_t* in, int x) const {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 4 * static_cast<std::size_t>(x)));
  }
};

template <>
struct EightColors<PixelFormat::Rgb555> {
  explicit EightColors(const uint32_t*) {}
  // Each 5-bit channel moved into its byte, then widened per byte as (c << 3) | (c >> 2).
  [[gnu::target("avx2")]] __m256i operator()(const uint8_t* in, int x) const {
    const __m256i values = _mm256_cvtepu16_epi32(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * static_cast<std::size_t>(x))));
    const __m256i blue = _mm256_and_si256(values, _mm256_set1_epi32(0x1F));
    const __m256i green = _mm256_slli_epi32(_mm256_and_si256(values, _mm256_set1_epi32(0x3E0)), 3);
    const __m256i red = _mm256_slli_epi32(_mm256_and_si256(values, _mm256_set1_epi32(0x7C00)), 6);
    const __m256i fives = _mm256_or_si256(blue, _mm256_or_si256(green, red));
    return _mm256_or_si256(_mm256_slli_epi32(fives, 3),
                           _mm256_and_si256(_mm256_srli_epi32(fives, 2), _mm256_set1_epi32(0x070707)));
  }
};

template <>
struct EightColors<PixelFormat::Indexed8> {
  explicit EightColors(const uint32_t* colors) : table(colors) {}
  // Eight table reads inserted into two halves: on the processors we run on that is about twice as fast
  // as a gather.
  [[gnu::target("avx2")]] __m256i operator()(const uint8_t* in, int x) const {
    const uint8_t* indexes = in + x;
    const auto at = [&](int k) { return static_cast<int>(table[indexes[k]]); };
    __m128i low = _mm_cvtsi32_si128(at(0)), high = _mm_cvtsi32_si128(at(4));
    low = _mm_insert_epi32(low, at(1), 1);
    high = _mm_insert_epi32(high, at(5), 1);
    low = _mm_insert_epi32(low, at(2), 2);
    high = _mm_insert_epi32(high, at(6), 2);
    low = _mm_insert_epi32(low, at(3), 3);
    high = _mm_insert_epi32(high, at(7), 3);
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
  }
  const uint32_t* table;
};

template <>
struct EightColors<PixelFormat::Indexed4> {
  [[gnu::target("avx2")]] explicit EightColors(const uint32_t* colors)
      : low(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(colors))),
        high(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(colors + 8))) {}
  // Indexes 0..7 from one register, 8..15 from the other, chosen by index bit 3 moved to the sign bit.
  [[gnu::target("avx2")]] __m256i operator()(const uint8_t* in, int x) const {
    uint32_t bytes;  // four bytes, two pixels each, the first in the high nibble
    std::memcpy(&bytes, in + x / 2, 4);
    const __m256i doubled =
        _mm256_cvtepu8_epi32(_mm_shuffle_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes)),
                                              _mm_setr_epi8(0, 0, 1, 1, 2, 2, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0)));
    const __m256i indexes = _mm256_srlv_epi32(doubled, _mm256_setr_epi32(4, 0, 4, 0, 4, 0, 4, 0));
    const __m256 fromLow = _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(low, indexes));
    const __m256 fromHigh = _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(high, indexes));
    const __m256 upper = _mm256_castsi256_ps(_mm256_slli_epi32(indexes, 28));
    return _mm256_castps_si256(_mm256_blendv_ps(fromLow, fromHigh, upper));
  }
  __m256i low, high;
};

template <>
struct EightColors<PixelFormat::Indexed1> {
  [[gnu::target("avx2")]] explicit EightColors(const uint32_t* colors)
      : table(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(colors))) {}
  [[gnu::target("avx2")]] __m256i operator()(const uint8_t* in, int x) const {
    const __m256i bits =
        _mm256_srlv_epi32(_mm256_set1_epi32(in[x / 8]), _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0));
    return _mm256_permutevar8x32_epi32(table, _mm256_and_si256(bits, _mm256_set1_epi32(1)));
  }
  __m256i table;
};

// An 8-bit picture whose palette is the grey scale, index i being (i, i, i) — as greyscale JPEG and
// PNG files load — needs no table: each index byte is copied into its pixel's three channels.
struct GreyEightColors {
  explicit GreyEightColors(const uint32_t*) {}
  [[gnu::target("avx2")]] __m256i operator()(const uint8_t* in, int x) const {
    const __m256i indexes = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x)));
    return _mm256_shuffle_epi8(
        indexes, _mm256_setr_epi8(0, 0, 0, -1, 4, 4, 4, -1, 8, 8, 8, -1, 12, 12, 12, -1, 0, 0, 0, -1, 4, 4, 4,
                                  -1, 8, 8, 8, -1, 12, 12, 12, -1));
  }
};

// Pixels from x on into dst eight at a time while two pixels of the row part follow them (their bytes
// take the four spare bytes the stores write past the eight). Returns the first pixel not converted.
template <typename Colors>
[[gnu::target("avx2")]] int ConvertEightsAvx2(const uint8_t* in, int x, int right, const uint32_t* colors,
                                              uint8_t* dst) {
  const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5,
                                        6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const Colors eightColors(colors);
  for (; x + 10 <= right; x += 8, dst += 24) {
    const __m256i packed = _mm256_shuffle_epi8(eightColors(in, x), pack);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), _mm256_extracti128_si256(packed, 1));
  }
  return x;
}

// One row of the block: the pixels up to the first the vector code can start at (`step` apart) and
// after its last in plain code, the rest eight at a time.
template <typename Colors, typename ColorAt>
void ConvertRowFast(int left, int right, int step, const uint8_t* in, const uint32_t* colors, uint8_t* dst,
                    const ColorAt& colorAt) {
  const int start = std::min(right, (left + step - 1) / step * step);
  ConvertRow(left, start, dst, colorAt);
  const int end =
      ConvertEightsAvx2<Colors>(in, start, right, colors, dst + static_cast<std::size_t>(start - left) * 3);
  ConvertRow(end, right, dst + static_cast<std::size_t>(end - left) * 3, colorAt);
}

// Asks for the bytes of pixels [left, right) of row y ahead of their use. A block's rows are short pieces
// of long rows, which the processor's own prefetching does not foresee; a conversion waiting for each
// row from memory takes about twice as long.
constexpr int kPrefetchRows = 2;
void Prefetch(const Bitmap& picture, int y, int left, int right) {
  const int bits = picture.BitsPerPixel();
  const uint8_t* row = picture.Row(y);
  const std::size_t first = static_cast<std::size_t>(left) * bits / 8;
  const std::size_t end = (static_cast<std::size_t>(right) * bits + 7) / 8;
  for (std::size_t at = first; at < end; at += 64) __builtin_prefetch(row + at);
  __builtin_prefetch(row + end - 1);
}

}  // namespace

Bgr24Converter::Bgr24Converter(const Bitmap& picture, bool allowVector)
    : format_(picture.Format()), vector_(allowVector && stretch::HaveAvx2()) {
  if (format_ == PixelFormat::Bgr24 || format_ == PixelFormat::Bgrx32) return;
  const Bitmap values = AllValues(picture);
  // At least sixteen entries: the vector code loads palettes of up to sixteen colours whole.
  colors_.resize(std::max<std::size_t>(16, static_cast<std::size_t>(values.Width())));
  for (int v = 0; v < values.Width(); ++v)
    colors_[static_cast<std::size_t>(v)] = Packed(values.ColorAt(v, 0));
  grey_ = format_ == PixelFormat::Indexed8;
  for (uint32_t i = 0; i < 256 && grey_; ++i) grey_ = colors_[i] == i * 0x010101u;
}

void Bgr24Converter::Convert(const Bitmap& picture, const Rect& block, Bitmap& out) const {
  Convert(picture, block, out, {block.left, block.top});
}

void Bgr24Converter::Convert(const Bitmap& picture, const Rect& block, Bitmap& out, Point to) const {
  const uint32_t* colors = colors_.data();
  for (int y = block.top; y < block.bottom; ++y) {
    const uint8_t* in = picture.Row(y);
    if (y + kPrefetchRows < block.bottom) Prefetch(picture, y + kPrefetchRows, block.left, block.right);
    uint8_t* dst = out.Row(to.y + y - block.top) + static_cast<std::size_t>(to.x) * 3;
    const auto bgrx32 = [in](int x) {
      uint32_t color;
      std::memcpy(&color, in + 4 * static_cast<std::size_t>(x), 4);
      return color & 0xFFFFFFu;
    };
    const auto rgb555 = [in, colors](int x) {  // the top bit is unused
      return colors[(in[2 * x] | (in[2 * x + 1] << 8)) & 0x7FFF];
    };
    const auto indexed8 = [in, colors](int x) { return colors[in[x]]; };
    const auto indexed4 = [in, colors](int x) { return colors[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F]; };
    const auto indexed1 = [in, colors](int x) { return colors[(in[x >> 3] >> (7 - (x & 7))) & 1]; };
    const int left = block.left, right = block.right;
    switch (format_) {
      case PixelFormat::Bgr24:
        std::memcpy(dst, in + static_cast<std::size_t>(left) * 3,
                    static_cast<std::size_t>(block.Width()) * 3);
        break;
      case PixelFormat::Bgrx32:
        if (vector_) {
          ConvertRowFast<EightColors<PixelFormat::Bgrx32>>(left, right, 1, in, colors, dst, bgrx32);
        } else {
          ConvertRow(left, right, dst, bgrx32);
        }
        break;
      case PixelFormat::Rgb555:
        if (vector_) {
          ConvertRowFast<EightColors<PixelFormat::Rgb555>>(left, right, 1, in, colors, dst, rgb555);
        } else {
          ConvertRow(left, right, dst, rgb555);
        }
        break;
      case PixelFormat::Indexed8:
        if (vector_) {
          if (grey_) {
            ConvertRowFast<GreyEightColors>(left, right, 1, in, colors, dst, indexed8);
          } else {
            ConvertRowFast<EightColors<PixelFormat::Indexed8>>(left, right, 1, in, colors, dst, indexed8);
          }
        } else {
          ConvertRow(left, right, dst, indexed8);
        }
        break;
      case PixelFormat::Indexed4:
        if (vector_) {
          ConvertRowFast<EightColors<PixelFormat::Indexed4>>(left, right, 2, in, colors, dst, indexed4);
        } else {
          ConvertRow(left, right, dst, indexed4);
        }
        break;
      case PixelFormat::Indexed1:
        if (vector_) {
          ConvertRowFast<EightColors<PixelFormat::Indexed1>>(left, right, 8, in, colors, dst, indexed1);
        } else {
          ConvertRow(left, right, dst, indexed1);
        }
        break;
    }
  }
}

}  // namespace mv
