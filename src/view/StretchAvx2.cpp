// The averaged stretch with AVX2: column sums sixteen (or eight) bytes at a time, then two view
// pixels per register, each pixel's three channels and one unused lane side by side, and the rounded
// division by multiplication with the divisor's reciprocal in floats or doubles.
//
// The division is exact: a channel's weighted sum n is an integer below 2^32 and the divisor d is
// below 2^24, so n / d + 1/2 is either a whole number or at least 1 / (2d) > 2^-25 away from one,
// while the double evaluation of n * (1 / d) + 1/2 errs by less than 2^-40. Adding 2^-30 before
// truncating therefore gives floor(n / d + 1/2), which is the integer (n + floor(d / 2)) / d.

#include <immintrin.h>

#include <cstring>
#include <type_traits>

#include "view/StretchTables.h"

namespace mv::stretch {

namespace {

// Sixteen 16-bit column sums per register.
struct Columns16 {
  using Type = uint16_t;
  static constexpr std::size_t kBytes = 16;  // source bytes per register
  [[gnu::target("avx2")]] static __m256i Load(const uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  [[gnu::target("avx2")]] static __m256i Broadcast(uint32_t weight) {
    return _mm256_set1_epi16(static_cast<int16_t>(weight));
  }
  [[gnu::target("avx2")]] static __m256i Add(__m256i a, __m256i b) { return _mm256_add_epi16(a, b); }
  [[gnu::target("avx2")]] static __m256i Mul(__m256i a, __m256i b) { return _mm256_mullo_epi16(a, b); }
};

// Eight 32-bit column sums per register.
struct Columns32 {
  using Type = uint32_t;
  static constexpr std::size_t kBytes = 8;
  [[gnu::target("avx2")]] static __m256i Load(const uint8_t* p) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
  }
  [[gnu::target("avx2")]] static __m256i Broadcast(uint32_t weight) {
    return _mm256_set1_epi32(static_cast<int32_t>(weight));
  }
  [[gnu::target("avx2")]] static __m256i Add(__m256i a, __m256i b) { return _mm256_add_epi32(a, b); }
  [[gnu::target("avx2")]] static __m256i Mul(__m256i a, __m256i b) { return _mm256_mullo_epi32(a, b); }
};

// Sixteen 32-bit column sums per step, worked out from 16-bit numbers (see SumPairedColumnsAt). Needs
// the weights and the sums of the rows between a span's first and last below 2^15.
struct PairedColumns32 {
  using Type = uint32_t;
  static constexpr std::size_t kBytes = 16;
};

// The column sums of `vectors` steps of sixteen bytes from byte `at` of the span's source rows: the
// first row's bytes and the sum of the rows between side by side, multiplied by their weights and added
// in one step, then the last row's bytes with its weight. That is half the work of widening every byte
// to 32 bits first.
template <int vectors>
[[gnu::target("avx2")]] inline void SumPairedColumnsAt(const uint8_t* row, std::size_t stride,
                                                       const Span& span, std::size_t at, uint32_t* columns) {
  const __m256i firstAndInnerWeights =
      _mm256_set1_epi32(static_cast<int32_t>(span.firstWeight | span.innerWeight << 16));
  const __m256i lastWeights = _mm256_set1_epi32(static_cast<int32_t>(span.lastWeight));
  __m256i first[vectors], inner[vectors], last[vectors];
  for (int v = 0; v < vectors; ++v) {
    first[v] = Columns16::Load(row + at + v * 16);
    inner[v] = last[v] = _mm256_setzero_si256();
  }
  if (span.count > 1) {
    const uint8_t* p = row + stride;
    for (int32_t k = 1; k + 1 < span.count; ++k, p += stride) {
      for (int v = 0; v < vectors; ++v)
        inner[v] = _mm256_add_epi16(inner[v], Columns16::Load(p + at + v * 16));
    }
    for (int v = 0; v < vectors; ++v) last[v] = Columns16::Load(p + at + v * 16);
  }
  const __m256i zero = _mm256_setzero_si256();
  for (int v = 0; v < vectors; ++v) {
    // Bytes 0-3 and 8-11 of the step in `low`, 4-7 and 12-15 in `high`.
    const __m256i low =
        _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(first[v], inner[v]), firstAndInnerWeights),
                         _mm256_madd_epi16(_mm256_unpacklo_epi16(last[v], zero), lastWeights));
    const __m256i high =
        _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(first[v], inner[v]), firstAndInnerWeights),
                         _mm256_madd_epi16(_mm256_unpackhi_epi16(last[v], zero), lastWeights));
    uint32_t* sums = columns + at + v * 16;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums), _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + 8), _mm256_permute2x128_si256(low, high, 0x31));
  }
}

// The column sums of `vectors` consecutive registers from byte `at` of the span's source rows
// (`row` is the first of them): first and last rows weighted on their own, the rows between added
// first and weighted once.
template <typename C, int vectors>
[[gnu::target("avx2")]] inline void SumWidenedColumnsAt(const uint8_t* row, std::size_t stride,
                                                        const Span& span, std::size_t at,
                                                        typename C::Type* columns) {
  __m256i sums[vectors];
  for (int v = 0; v < vectors; ++v)
    sums[v] = C::Mul(C::Load(row + at + v * C::kBytes), C::Broadcast(span.firstWeight));
  if (span.count > 1) {
    __m256i inner[vectors];
    for (int v = 0; v < vectors; ++v) inner[v] = _mm256_setzero_si256();
    const uint8_t* p = row + stride;
    for (int32_t k = 1; k + 1 < span.count; ++k, p += stride) {
      for (int v = 0; v < vectors; ++v) inner[v] = C::Add(inner[v], C::Load(p + at + v * C::kBytes));
    }
    const __m256i innerWeight = C::Broadcast(span.innerWeight), lastWeight = C::Broadcast(span.lastWeight);
    for (int v = 0; v < vectors; ++v) {
      sums[v] = C::Add(sums[v], C::Mul(inner[v], innerWeight));
      sums[v] = C::Add(sums[v], C::Mul(C::Load(p + at + v * C::kBytes), lastWeight));
    }
  }
  for (int v = 0; v < vectors; ++v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(columns + at), sums[v]);
    at += C::kBytes;
  }
}

template <typename C, int vectors>
[[gnu::target("avx2")]] inline void SumColumnsAt(const uint8_t* row, std::size_t stride, const Span& span,
                                                 std::size_t at, typename C::Type* columns) {
  if constexpr (std::is_same_v<C, PairedColumns32>) {
    SumPairedColumnsAt<vectors>(row, stride, span, at, columns);
  } else {
    SumWidenedColumnsAt<C, vectors>(row, stride, span, at, columns);
  }
}

// columns[b] = the span's weighted sum of byte b over `bytes` bytes from `row`.
template <typename C>
[[gnu::target("avx2")]] void SumColumns(const uint8_t* row, std::size_t stride, const Span& span,
                                        std::size_t bytes, typename C::Type* columns) {
  constexpr int kSteps = std::is_same_v<C, PairedColumns32> ? 2 : 4;
  constexpr std::size_t kWide = kSteps * C::kBytes;
  std::size_t at = 0;
  for (; at + kWide <= bytes; at += kWide) SumColumnsAt<C, kSteps>(row, stride, span, at, columns);
  for (; at + C::kBytes <= bytes; at += C::kBytes) SumColumnsAt<C, 1>(row, stride, span, at, columns);
  if (at == bytes) return;
  if (bytes >= C::kBytes) {
    // The last register overlaps the one before it; the overlap is computed twice, to the same sums.
    SumColumnsAt<C, 1>(row, stride, span, bytes - C::kBytes, columns);
    return;
  }
  for (; at < bytes; ++at) {
    uint32_t sum = 0;
    for (int32_t k = 0; k < span.count; ++k)
      sum += WeightAt(span, k) * row[static_cast<std::size_t>(k) * stride + at];
    columns[at] = static_cast<typename C::Type>(sum);
  }
}

// Rounded quotients of channel sums by the divisor, as 32-bit numbers in the same lanes. Floats are
// exact for divisors up to 4096 (the error stays below 2^-15 while 1 / (2d) is at least 2^-13, and the
// added margin is 2^-14); doubles for larger ones, see the top of the file.
struct FloatQuotients {
  __m256 inverse, roundUp;
  [[gnu::target("avx2,fma")]] explicit FloatQuotients(uint64_t divisor)
      : inverse(_mm256_set1_ps(1.0f / static_cast<float>(divisor))),
        roundUp(_mm256_set1_ps(0.5f + 0x1p-14f)) {}
  // Sums below 2^24.
  [[gnu::target("avx2,fma")]] __m256i operator()(__m256i sums) const {
    return _mm256_cvttps_epi32(_mm256_fmadd_ps(_mm256_cvtepi32_ps(sums), inverse, roundUp));
  }
};

// Sums below 2^31 are converted as they are; larger ones with the sign bit flipped for the signed
// conversion and 2^31 added back.
template <bool below2To31>
struct DoubleQuotients {
  __m256d inverse, roundUp;
  [[gnu::target("avx2,fma")]] explicit DoubleQuotients(uint64_t divisor)
      : inverse(_mm256_set1_pd(1.0 / static_cast<double>(divisor))), roundUp(_mm256_set1_pd(0.5 + 0x1p-30)) {}
  [[gnu::target("avx2,fma")]] __m128i Half(__m128i sums) const {
    __m256d value;
    if constexpr (below2To31) {
      value = _mm256_cvtepi32_pd(sums);
    } else {
      const __m128i flipped = _mm_xor_si128(sums, _mm_set1_epi32(INT32_MIN));
      value = _mm256_add_pd(_mm256_cvtepi32_pd(flipped), _mm256_set1_pd(2147483648.0));
    }
    return _mm256_cvttpd_epi32(_mm256_fmadd_pd(value, inverse, roundUp));
  }
  [[gnu::target("avx2,fma")]] __m256i operator()(__m256i sums) const {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(Half(_mm256_castsi256_si128(sums))),
                                   Half(_mm256_extracti128_si256(sums, 1)), 1);
  }
};

// Stores the three channels of four pixels, one pixel's quotients per argument; only `count` of them
// when fewer remain, so no byte past the area is written. While two more pixels of the row follow, the
// four spare bytes of a whole-register store fall on them and are written again with them.
[[gnu::target("avx2")]] inline void StorePixels(__m128i pixel0, __m128i pixel1, __m128i pixel2,
                                                __m128i pixel3, int count, uint8_t* dst) {
  const __m128i packBgr = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m128i bytes = _mm_shuffle_epi8(
      _mm_packus_epi16(_mm_packus_epi32(pixel0, pixel1), _mm_packus_epi32(pixel2, pixel3)), packBgr);
  if (count >= 6) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), bytes);
  } else if (count >= 4) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), bytes);
    const int32_t last = _mm_extract_epi32(bytes, 2);
    std::memcpy(dst + 8, &last, 4);
  } else {
    alignas(16) uint8_t pixels[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(pixels), bytes);
    std::memcpy(dst, pixels, static_cast<std::size_t>(count) * 3);
  }
}

// The same from two registers of two pixels' quotients each.
[[gnu::target("avx2")]] inline void StorePixels(__m256i first, __m256i second, int count, uint8_t* dst) {
  StorePixels(_mm256_castsi256_si128(first), _mm256_extracti128_si256(first, 1),
              _mm256_castsi256_si128(second), _mm256_extracti128_si256(second, 1), count, dst);
}

// The rounded quotients of two registers of two pixels' channel sums each, stored.
[[gnu::target("avx2,fma")]] inline void StoreQuotients(const FloatQuotients& quotients, __m256i first,
                                                       __m256i second, int count, uint8_t* dst) {
  StorePixels(quotients(first), quotients(second), count, dst);
}

// Doubles take four lanes at a time, one pixel: the halves go straight to the store.
template <bool below2To31>
[[gnu::target("avx2,fma")]] inline void StoreQuotients(const DoubleQuotients<below2To31>& quotients,
                                                       __m256i first, __m256i second, int count,
                                                       uint8_t* dst) {
  StorePixels(quotients.Half(_mm256_castsi256_si128(first)),
              quotients.Half(_mm256_extracti128_si256(first, 1)),
              quotients.Half(_mm256_castsi256_si128(second)),
              quotients.Half(_mm256_extracti128_si256(second, 1)), count, dst);
}

template <typename Type>
[[gnu::target("avx2")]] inline __m256i LoadTwo(const Type* low, const Type* high) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

// Pairs each of three channels of two taps `pixelBytes` apart, in both halves of a register of 16-bit
// numbers.
template <int pixelBytes>
[[gnu::target("avx2")]] inline __m256i PairChannels() {
  if constexpr (pixelBytes == 3) {
    return _mm256_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1,  //
                            0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1);
  } else {
    return _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, -1, -1, -1, -1,  //
                            0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, -1, -1, -1, -1);
  }
}

// One view row from 16-bit column sums, two taps at a time: eight sums from a tap's first channel
// hold both taps' channels, which are paired per channel and multiplied and added in one step.
// `pairs` is the taps' pairs when known at compile time, 0 otherwise.
template <int pairs, int pixelBytes, typename Quotients>
[[gnu::target("avx2,fma")]] void WeighPixelsNarrow(const uint16_t* columns, const ReductionTables& tables,
                                                   const Quotients& quotients, uint8_t* dst) {
  const __m256i pairChannels = PairChannels<pixelBytes>();
  const int tapPairs = pairs > 0 ? pairs : tables.taps / 2;
  const std::size_t groupStride = static_cast<std::size_t>(tapPairs) * 16;
  for (int d = 0; d < tables.width; d += 4, dst += 12) {
    const int32_t* offsets = tables.tapOffsets + d;
    const int16_t* weights = tables.pairWeights + static_cast<std::size_t>(d / 2) * groupStride;
    __m256i sums0 = _mm256_setzero_si256(), sums1 = _mm256_setzero_si256();
    for (int p = 0; p < tapPairs; ++p) {
      const int tap = 2 * pixelBytes * p;
      const __m256i a =
          _mm256_shuffle_epi8(LoadTwo(columns + offsets[0] + tap, columns + offsets[1] + tap), pairChannels);
      const __m256i b =
          _mm256_shuffle_epi8(LoadTwo(columns + offsets[2] + tap, columns + offsets[3] + tap), pairChannels);
      const __m256i weightsA = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 16 * p));
      const __m256i weightsB =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + groupStride + 16 * p));
      sums0 = _mm256_add_epi32(sums0, _mm256_madd_epi16(a, weightsA));
      sums1 = _mm256_add_epi32(sums1, _mm256_madd_epi16(b, weightsB));
    }
    StoreQuotients(quotients, sums0, sums1, tables.width - d, dst);
  }
}

// One view row from 32-bit column sums, one tap at a time: four sums from a tap's first channel are
// its three channels and an unused lane. `fixedTaps` is the taps when known at compile time, 0
// otherwise.
template <int fixedTaps, typename Quotients>
[[gnu::target("avx2,fma")]] void WeighPixelsWide(const uint32_t* columns, const ReductionTables& tables,
                                                 const Quotients& quotients, uint8_t* dst) {
  const int taps = fixedTaps > 0 ? fixedTaps : tables.taps;
  const std::size_t groupStride = static_cast<std::size_t>(taps) * 8;
  for (int d = 0; d < tables.width; d += 4, dst += 12) {
    const int32_t* offsets = tables.tapOffsets + d;
    const uint32_t* weights = tables.tapWeights + static_cast<std::size_t>(d / 2) * groupStride;
    __m256i sums0 = _mm256_setzero_si256(), sums1 = _mm256_setzero_si256();
    for (int k = 0; k < taps; ++k) {
      const int tap = tables.pixelBytes * k;
      const __m256i a = LoadTwo(columns + offsets[0] + tap, columns + offsets[1] + tap);
      const __m256i b = LoadTwo(columns + offsets[2] + tap, columns + offsets[3] + tap);
      const __m256i weightsA = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 8 * k));
      const __m256i weightsB =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + groupStride + 8 * k));
      sums0 = _mm256_add_epi32(sums0, _mm256_mullo_epi32(a, weightsA));
      sums1 = _mm256_add_epi32(sums1, _mm256_mullo_epi32(b, weightsB));
    }
    StoreQuotients(quotients, sums0, sums1, tables.width - d, dst);
  }
}

// WeighPixelsWide with the taps known at compile time for the common reductions down to a fifth.
template <typename Quotients>
[[gnu::target("avx2,fma")]] void WeighPixelsWideByTaps(const uint32_t* columns, const ReductionTables& tables,
                                                       const Quotients& quotients, uint8_t* dst) {
  switch (tables.taps) {
    case 2:
      return WeighPixelsWide<2>(columns, tables, quotients, dst);
    case 3:
      return WeighPixelsWide<3>(columns, tables, quotients, dst);
    case 4:
      return WeighPixelsWide<4>(columns, tables, quotients, dst);
    case 5:
      return WeighPixelsWide<5>(columns, tables, quotients, dst);
    case 6:
      return WeighPixelsWide<6>(columns, tables, quotients, dst);
    default:
      return WeighPixelsWide<0>(columns, tables, quotients, dst);
  }
}

// WeighPixelsNarrow with the pairs of taps known at compile time for the common reductions down to a
// sixth.
template <int pixelBytes, typename Quotients>
[[gnu::target("avx2,fma")]] void WeighPixelsNarrowByTaps(const uint16_t* columns,
                                                         const ReductionTables& tables,
                                                         const Quotients& quotients, uint8_t* dst) {
  switch (tables.taps) {
    case 2:
      return WeighPixelsNarrow<1, pixelBytes>(columns, tables, quotients, dst);
    case 4:
      return WeighPixelsNarrow<2, pixelBytes>(columns, tables, quotients, dst);
    case 6:
      return WeighPixelsNarrow<3, pixelBytes>(columns, tables, quotients, dst);
    default:
      return WeighPixelsNarrow<0, pixelBytes>(columns, tables, quotients, dst);
  }
}

// Stores eight grey levels (the quotients in a register's lanes) as the three channels of eight pixels;
// only `count` of them when fewer remain.
[[gnu::target("avx2")]] inline void StoreGreyPixels(__m256i levels, int count, uint8_t* dst) {
  const __m128i words = _mm_packus_epi32(_mm256_castsi256_si128(levels), _mm256_extracti128_si256(levels, 1));
  const __m128i bytes = _mm_packus_epi16(words, words);
  const __m128i first =
      _mm_shuffle_epi8(bytes, _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5));
  const __m128i second =
      _mm_shuffle_epi8(bytes, _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0));
  if (count >= 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), first);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), second);
  } else {
    alignas(16) uint8_t pixels[32];
    _mm_store_si128(reinterpret_cast<__m128i*>(pixels), first);
    _mm_store_si128(reinterpret_cast<__m128i*>(pixels + 16), second);
    std::memcpy(dst, pixels, static_cast<std::size_t>(count) * 3);
  }
}

// One view row of a grey source from 16-bit column sums, eight view pixels at a time: per pair of taps
// each pixel's two sums are read as one 32-bit number and multiplied and added with its two weights.
template <typename Quotients>
[[gnu::target("avx2,fma")]] void WeighGreyPixelsNarrow(const uint16_t* columns, const ReductionTables& tables,
                                                       const Quotients& quotients, uint8_t* dst) {
  const int tapPairs = tables.taps / 2;
  const std::size_t groupStride = static_cast<std::size_t>(tapPairs) * 16;
  for (int d = 0; d < tables.width; d += 8, dst += 24) {
    const int32_t* offsets = tables.tapOffsets + d;
    const int16_t* weights = tables.pairWeights + static_cast<std::size_t>(d / 8) * groupStride;
    __m256i sums = _mm256_setzero_si256();
    for (int p = 0; p < tapPairs; ++p) {
      const auto pairAt = [&](int k) {
        int32_t pair;
        std::memcpy(&pair, columns + offsets[k] + 2 * p, 4);
        return pair;
      };
      const __m256i pairs = _mm256_setr_epi32(pairAt(0), pairAt(1), pairAt(2), pairAt(3), pairAt(4),
                                              pairAt(5), pairAt(6), pairAt(7));
      const __m256i pairWeights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 16 * p));
      sums = _mm256_add_epi32(sums, _mm256_madd_epi16(pairs, pairWeights));
    }
    StoreGreyPixels(quotients(sums), tables.width - d, dst);
  }
}

// Asks for the source rows of view row j ahead of their use. An area reads short pieces of long rows,
// which the processor's own prefetching does not foresee.
inline void PrefetchRows(const SourcePixels& source, const ReductionTables& tables, int j) {
  const Span& span = tables.rows[j];
  for (int32_t k = 0; k < span.count; ++k) {
    const uint8_t* row = source.At(tables.firstColumn, span.first + k);
    for (std::size_t at = 0; at < tables.rowBytes; at += 64) __builtin_prefetch(row + at);
    __builtin_prefetch(row + tables.rowBytes - 1);
  }
}

// One view row of a grey source from 32-bit column sums, eight view pixels at a time, one tap at a time.
template <typename Quotients>
[[gnu::target("avx2,fma")]] void WeighGreyPixelsWide(const uint32_t* columns, const ReductionTables& tables,
                                                     const Quotients& quotients, uint8_t* dst) {
  const std::size_t groupStride = static_cast<std::size_t>(tables.taps) * 8;
  for (int d = 0; d < tables.width; d += 8, dst += 24) {
    const int32_t* offsets = tables.tapOffsets + d;
    const uint32_t* weights = tables.tapWeights + static_cast<std::size_t>(d / 8) * groupStride;
    __m256i sums = _mm256_setzero_si256();
    for (int k = 0; k < tables.taps; ++k) {
      const auto at = [&](int i) { return static_cast<int32_t>(columns[offsets[i] + k]); };
      const __m256i taps = _mm256_setr_epi32(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
      const __m256i tapWeights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 8 * k));
      sums = _mm256_add_epi32(sums, _mm256_mullo_epi32(taps, tapWeights));
    }
    StoreGreyPixels(quotients(sums), tables.width - d, dst);
  }
}

template <typename Quotients>
[[gnu::target("avx2,fma")]] void ReduceNarrow(const SourcePixels& source, const ReductionTables& tables,
                                              int rowBegin, int rowEnd, uint16_t* columns, Bitmap& out,
                                              Point at) {
  const Quotients quotients(tables.divisor);
  for (int j = rowBegin; j < rowEnd; ++j) {
    if (j + 1 < rowEnd) PrefetchRows(source, tables, j + 1);
    const Span& span = tables.rows[j];
    SumColumns<Columns16>(source.At(tables.firstColumn, span.first), source.Stride(), span, tables.rowBytes,
                          columns);
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    if (tables.pixelBytes == 1) {
      WeighGreyPixelsNarrow(columns, tables, quotients, dst);
    } else if (tables.pixelBytes == 4) {
      WeighPixelsNarrowByTaps<4>(columns, tables, quotients, dst);
    } else {
      WeighPixelsNarrowByTaps<3>(columns, tables, quotients, dst);
    }
  }
}

template <typename Quotients>
[[gnu::target("avx2,fma")]] void ReduceWide(const SourcePixels& source, const ReductionTables& tables,
                                            int rowBegin, int rowEnd, uint32_t* columns, Bitmap& out,
                                            Point at) {
  const Quotients quotients(tables.divisor);
  for (int j = rowBegin; j < rowEnd; ++j) {
    if (j + 1 < rowEnd) PrefetchRows(source, tables, j + 1);
    const Span& span = tables.rows[j];
    const uint8_t* first = source.At(tables.firstColumn, span.first);
    if (tables.pairedColumnSums) {
      SumColumns<PairedColumns32>(first, source.Stride(), span, tables.rowBytes, columns);
    } else {
      SumColumns<Columns32>(first, source.Stride(), span, tables.rowBytes, columns);
    }
    uint8_t* dst = out.Row(at.y + j) + static_cast<std::size_t>(at.x) * 3;
    if (tables.pixelBytes == 1) {
      WeighGreyPixelsWide(columns, tables, quotients, dst);
    } else {
      WeighPixelsWideByTaps(columns, tables, quotients, dst);
    }
  }
}

}  // namespace

bool HaveAvx2() {
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

void ReduceRowsNarrowAvx2(const SourcePixels& source, const ReductionTables& tables, int rowBegin, int rowEnd,
                          uint16_t* columns, Bitmap& out, Point at) {
  if (tables.divisor <= 4096) {
    ReduceNarrow<FloatQuotients>(source, tables, rowBegin, rowEnd, columns, out, at);
  } else {
    // The narrow loop's sums stay below 2^31.
    ReduceNarrow<DoubleQuotients<true>>(source, tables, rowBegin, rowEnd, columns, out, at);
  }
}

void ReduceRowsWideAvx2(const SourcePixels& source, const ReductionTables& tables, int rowBegin, int rowEnd,
                        uint32_t* columns, Bitmap& out, Point at) {
  if (tables.divisor * 255 < (uint64_t{1} << 31)) {
    ReduceWide<DoubleQuotients<true>>(source, tables, rowBegin, rowEnd, columns, out, at);
  } else {
    ReduceWide<DoubleQuotients<false>>(source, tables, rowBegin, rowEnd, columns, out, at);
  }
}

}  // namespace mv::stretch
