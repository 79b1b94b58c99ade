// The weighted sum of TCustomFilter over the kernel's non-zero weights only.
//
// Channels are interleaved, so output byte b of a row is the sum over the taps (i, j, w) of
// w * source row (y + i), byte (b + 3j). Taps are taken two at a time: the bytes of both taps'
// source rows are widened to 16 bits and interleaved, and one 16-bit multiply-add with the weight
// pair adds both products for eight outputs at once. Weights fit 16 bits and every sum fits 32 bits
// (checked by the chooser), so the integer sums are exact whatever the order of the additions.

#include <immintrin.h>

#include <vector>

#include "filtering/FastRows.h"

namespace mv {

namespace {

struct Tap {
  int row;     // i: the source row below the output row
  int offset;  // 3j: the byte offset along the source row
  int32_t weight;
};

// The non-zero weights, in pairs (a zero weight completes an odd count).
std::vector<Tap> NonZeroTaps(std::span<const int32_t> kernel, int n) {
  std::vector<Tap> taps;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const int32_t w = kernel[static_cast<std::size_t>(i * n + j)];
      if (w != 0) taps.push_back({i, 3 * j, w});
    }
  }
  if (taps.empty()) taps.push_back({0, 0, 0});
  if (taps.size() % 2 != 0) taps.push_back({taps.front().row, taps.front().offset, 0});
  return taps;
}

int32_t WeightPair(const Tap& a, const Tap& b) {
  return static_cast<int32_t>((static_cast<uint32_t>(a.weight) & 0xFFFFu) |
                              (static_cast<uint32_t>(b.weight) << 16));
}

// sums[b] for the bytes b in [0, count rounded down to 32), the rows of the taps' sources given.
__attribute__((target("avx2"))) int SumAvx2(const uint8_t* const* sources, const int32_t* weightPairs,
                                            int pairs, int count, int32_t* sums) {
  int b = 0;
  for (; b + 32 <= count; b += 32) {
    __m256i lo0 = _mm256_setzero_si256(), hi0 = lo0, lo1 = lo0, hi1 = lo0;
    for (int p = 0; p < pairs; ++p) {
      const uint8_t* first = sources[2 * p] + b;
      const uint8_t* second = sources[2 * p + 1] + b;
      const __m256i w = _mm256_set1_epi32(weightPairs[p]);
      const __m256i a0 = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first)));
      const __m256i b0 = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(second)));
      const __m256i a1 = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first + 16)));
      const __m256i b1 = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(second + 16)));
      // Per 128-bit half: lo holds bytes 0-3 (and 8-11), hi bytes 4-7 (and 12-15), of each 16.
      lo0 = _mm256_add_epi32(lo0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a0, b0), w));
      hi0 = _mm256_add_epi32(hi0, _mm256_madd_epi16(_mm256_unpackhi_epi16(a0, b0), w));
      lo1 = _mm256_add_epi32(lo1, _mm256_madd_epi16(_mm256_unpacklo_epi16(a1, b1), w));
      hi1 = _mm256_add_epi32(hi1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a1, b1), w));
    }
    auto* out = reinterpret_cast<__m256i*>(sums + b);
    _mm256_storeu_si256(out, _mm256_permute2x128_si256(lo0, hi0, 0x20));
    _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(lo0, hi0, 0x31));
    _mm256_storeu_si256(out + 2, _mm256_permute2x128_si256(lo1, hi1, 0x20));
    _mm256_storeu_si256(out + 3, _mm256_permute2x128_si256(lo1, hi1, 0x31));
  }
  return b;
}

void SumPlain(const uint8_t* const* sources, const std::vector<Tap>& taps, int begin, int count,
              int32_t* sums) {
  for (int b = begin; b < count; ++b) {
    int32_t sum = 0;
    for (std::size_t t = 0; t < taps.size(); ++t) sum += taps[t].weight * sources[t][b];
    sums[b] = sum;
  }
}

}  // namespace

RowProducer SparseConvolutionRows(const PassContext& pass,
                                  std::shared_ptr<const ConvolutionFinisher> finish) {
  return [&pass, finish](int begin, int end, const std::function<bool(int)>& rowDone) {
    const std::vector<Tap> taps = NonZeroTaps(pass.kernel, pass.Side());
    const int pairs = static_cast<int>(taps.size() / 2);
    std::vector<int32_t> weightPairs;
    for (int p = 0; p < pairs; ++p) weightPairs.push_back(WeightPair(taps[2 * p], taps[2 * p + 1]));
    const int count = 3 * pass.output.Width();
    const bool avx2 = __builtin_cpu_supports("avx2");
    std::vector<const uint8_t*> sources(taps.size());
    std::vector<int32_t> sums(static_cast<std::size_t>(count));
    for (int y = begin; y < end; ++y) {
      for (std::size_t t = 0; t < taps.size(); ++t)
        sources[t] = pass.source.Row(y + taps[t].row) + taps[t].offset;
      // The vector loop reads 32 bytes a step and stays within each tap's source row.
      const int done = avx2 ? SumAvx2(sources.data(), weightPairs.data(), pairs, count, sums.data()) : 0;
      SumPlain(sources.data(), taps, done, count, sums.data());
      finish->FinishRow(sums.data(), 1, pass.output.Row(y), count);
      if (!rowDone(y)) return;
    }
  };
}

}  // namespace mv
