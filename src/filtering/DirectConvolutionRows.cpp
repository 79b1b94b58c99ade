// The direct weighted sum of TCustomFilter, vectorised.
//
// Channels are interleaved (B, G, R), so output byte b of a row is
//   sum over i, j of K[i][j] * source row (y + i), byte (b + 3j)
// whatever its channel: a one-dimensional sum along the byte row with taps 3 bytes apart. Each
// source row is turned once into "pairs": 32-bit lanes holding the 16-bit values of bytes b and b+3.
// One 16-bit multiply-add of the pairs at b + 6p with the weight pair (K[i][2p], K[i][2p+1]) then
// adds two taps for eight outputs at once. Weights fit 16 bits and all sums fit 32 bits (checked by
// the chooser), so the integer sums are exact.

#include <immintrin.h>

#include <algorithm>
#include <vector>

#include "filtering/FastRows.h"

namespace mv {

namespace {

constexpr int kBlock = 32;  // output bytes per step of the vector loop

struct Layout {
  int n;            // window side
  int pairs;        // weight pairs per kernel row
  int outputBytes;  // 3 * output width
  int paddedBytes;  // outputBytes rounded up to kBlock
  int pairBytes;    // entries of a pairs row
};

void MakePairs(const uint8_t* row, int rowBytes, int32_t* pairs, int count) {
  const int full = std::min(rowBytes - 3, count);
  for (int b = 0; b < full; ++b) pairs[b] = row[b] | (row[b + 3] << 16);
  for (int b = std::max(full, 0); b < count; ++b) {
    const int32_t lo = b < rowBytes ? row[b] : 0;
    const int32_t hi = b + 3 < rowBytes ? row[b + 3] : 0;
    pairs[b] = lo | (hi << 16);
  }
}

std::vector<int32_t> WeightPairs(std::span<const int32_t> kernel, int n, int pairs) {
  std::vector<int32_t> result;
  for (int i = 0; i < n; ++i) {
    for (int p = 0; p < pairs; ++p) {
      const int32_t first = kernel[static_cast<std::size_t>(i * n + 2 * p)];
      const int32_t second = 2 * p + 1 < n ? kernel[static_cast<std::size_t>(i * n + 2 * p + 1)] : 0;
      result.push_back(static_cast<int32_t>((static_cast<uint32_t>(first) & 0xFFFFu) |
                                            (static_cast<uint32_t>(second) << 16)));
    }
  }
  return result;
}

__attribute__((target("avx2"))) void AccumulateAvx2(const int32_t* const* rows, const int32_t* weightPairs,
                                                    const Layout& layout, int32_t* sums) {
  for (int b = 0; b < layout.paddedBytes; b += kBlock) {
    __m256i a0 = _mm256_setzero_si256(), a1 = a0, a2 = a0, a3 = a0;
    for (int i = 0; i < layout.n; ++i) {
      const int32_t* q = rows[i] + b;
      const int32_t* w = weightPairs + i * layout.pairs;
      for (int p = 0; p < layout.pairs; ++p, q += 6) {
        const __m256i wv = _mm256_set1_epi32(w[p]);
        a0 = _mm256_add_epi32(a0,
                              _mm256_madd_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q)), wv));
        a1 = _mm256_add_epi32(
            a1, _mm256_madd_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 8)), wv));
        a2 = _mm256_add_epi32(
            a2, _mm256_madd_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 16)), wv));
        a3 = _mm256_add_epi32(
            a3, _mm256_madd_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 24)), wv));
      }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + b), a0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + b + 8), a1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + b + 16), a2);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + b + 24), a3);
  }
}

void AccumulatePlain(const int32_t* const* rows, const int32_t* weightPairs, const Layout& layout,
                     int32_t* sums) {
  for (int b = 0; b < layout.paddedBytes; ++b) {
    int32_t sum = 0;
    for (int i = 0; i < layout.n; ++i) {
      const int32_t* q = rows[i] + b;
      const int32_t* w = weightPairs + i * layout.pairs;
      for (int p = 0; p < layout.pairs; ++p) {
        const int32_t pair = q[6 * p], weights = w[p];
        sum += static_cast<int16_t>(pair & 0xFFFF) * static_cast<int16_t>(weights & 0xFFFF) +
               static_cast<int16_t>(pair >> 16) * static_cast<int16_t>(weights >> 16);
      }
    }
    sums[b] = sum;
  }
}

}  // namespace

RowProducer DirectConvolutionRows(const PassContext& pass,
                                  std::shared_ptr<const ConvolutionFinisher> finish) {
  return [&pass, finish](int begin, int end, const std::function<bool(int)>& rowDone) {
    Layout layout;
    layout.n = pass.Side();
    layout.pairs = (layout.n + 1) / 2;
    layout.outputBytes = 3 * pass.output.Width();
    layout.paddedBytes = (layout.outputBytes + kBlock - 1) / kBlock * kBlock;
    layout.pairBytes = layout.paddedBytes + 6 * layout.pairs;
    const int sourceBytes = 3 * pass.source.Width();
    const std::vector<int32_t> weightPairs = WeightPairs(pass.kernel, layout.n, layout.pairs);
    const bool avx2 = __builtin_cpu_supports("avx2");

    // A ring of pair rows: source row s lives in slot s mod n.
    std::vector<std::vector<int32_t>> ring(static_cast<std::size_t>(layout.n),
                                           std::vector<int32_t>(static_cast<std::size_t>(layout.pairBytes)));
    auto slot = [&](int sourceRow) -> std::vector<int32_t>& {
      return ring[static_cast<std::size_t>(sourceRow % layout.n)];
    };
    for (int s = begin; s < begin + layout.n; ++s)
      MakePairs(pass.source.Row(s), sourceBytes, slot(s).data(), layout.pairBytes);
    std::vector<const int32_t*> rows(static_cast<std::size_t>(layout.n));
    std::vector<int32_t> sums(static_cast<std::size_t>(layout.paddedBytes));

    for (int y = begin; y < end; ++y) {
      for (int i = 0; i < layout.n; ++i) rows[static_cast<std::size_t>(i)] = slot(y + i).data();
      if (avx2) {
        AccumulateAvx2(rows.data(), weightPairs.data(), layout, sums.data());
      } else {
        AccumulatePlain(rows.data(), weightPairs.data(), layout, sums.data());
      }
      finish->FinishRow(sums.data(), 1, pass.output.Row(y), layout.outputBytes);
      if (y + 1 < end) {
        const int entering = y + layout.n;
        MakePairs(pass.source.Row(entering), sourceBytes, slot(entering).data(), layout.pairBytes);
      }
      if (!rowDone(y)) return;
    }
  };
}

}  // namespace mv
