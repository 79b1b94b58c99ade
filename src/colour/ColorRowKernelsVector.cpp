// The vector forms of the colour driver's row routines (AVX-512 with byte permutes). Sixteen pixels
// (48 bytes) at a time are spread into 32-bit lanes, one lane per pixel, for the routines that mix
// channels; tables are looked up 64 bytes at a time with two-register byte permutes.

// GCC 12 warns about the undefined registers inside its own AVX-512 headers.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <array>
#include <cstddef>

#include "colour/ColorRowKernels.h"

#define MV_VBMI [[gnu::target("avx512f,avx512bw,avx512vbmi,bmi2")]]

namespace mv {

namespace {

constexpr int kBlockPixels = 16;
constexpr uint64_t kBlockBytesMask = (uint64_t{1} << 48) - 1;
constexpr __mmask64 kLowByteOfEachLane = 0x1111111111111111ULL;

// Byte indexes that bring channel `c` of pixel i into the low byte of 32-bit lane i.
constexpr std::array<uint8_t, 64> LaneIndexes(int c) {
  std::array<uint8_t, 64> index{};
  for (int i = 0; i < kBlockPixels; ++i)
    index[static_cast<std::size_t>(4 * i)] = static_cast<uint8_t>(3 * i + c);
  return index;
}
alignas(64) constexpr std::array<uint8_t, 64> kBlueLanes = LaneIndexes(0);
alignas(64) constexpr std::array<uint8_t, 64> kGreenLanes = LaneIndexes(1);
alignas(64) constexpr std::array<uint8_t, 64> kRedLanes = LaneIndexes(2);

// Byte indexes that write the low byte of lane i into all three bytes of pixel i.
constexpr std::array<uint8_t, 64> GreyFromLanes() {
  std::array<uint8_t, 64> index{};
  for (int k = 0; k < 48; ++k) index[static_cast<std::size_t>(k)] = static_cast<uint8_t>(4 * (k / 3));
  return index;
}
alignas(64) constexpr std::array<uint8_t, 64> kGreyFromLanes = GreyFromLanes();

// R' = G, G' = B, B' = R within each pixel.
constexpr std::array<uint8_t, 64> ExchangeIndexes() {
  std::array<uint8_t, 64> index{};
  for (int i = 0; i < kBlockPixels; ++i) {
    index[static_cast<std::size_t>(3 * i + 0)] = static_cast<uint8_t>(3 * i + 2);
    index[static_cast<std::size_t>(3 * i + 1)] = static_cast<uint8_t>(3 * i + 0);
    index[static_cast<std::size_t>(3 * i + 2)] = static_cast<uint8_t>(3 * i + 1);
  }
  return index;
}
alignas(64) constexpr std::array<uint8_t, 64> kExchange = ExchangeIndexes();

MV_VBMI inline __m512i Load(const std::array<uint8_t, 64>& bytes) {
  return _mm512_load_si512(bytes.data());
}

// The byte mask of the first `pixels` pixels of a block.
inline __mmask64 PixelBytes(int pixels) {
  return pixels >= kBlockPixels ? kBlockBytesMask : (uint64_t{1} << (3 * pixels)) - 1;
}

struct Lanes {
  __m512i blue, green, red;
};

MV_VBMI inline Lanes SpreadIntoLanes(__m512i pixels) {
  return {_mm512_maskz_permutexvar_epi8(kLowByteOfEachLane, Load(kBlueLanes), pixels),
          _mm512_maskz_permutexvar_epi8(kLowByteOfEachLane, Load(kGreenLanes), pixels),
          _mm512_maskz_permutexvar_epi8(kLowByteOfEachLane, Load(kRedLanes), pixels)};
}

// A 256-entry table as four registers; Look answers table[x] for 64 bytes.
struct VectorTable {
  __m512i q0, q1, q2, q3;
  MV_VBMI explicit VectorTable(const std::array<uint8_t, 256>& table)
      : q0(_mm512_loadu_si512(table.data())),
        q1(_mm512_loadu_si512(table.data() + 64)),
        q2(_mm512_loadu_si512(table.data() + 128)),
        q3(_mm512_loadu_si512(table.data() + 192)) {}
  MV_VBMI __m512i Look(__m512i x) const {
    const __m512i low = _mm512_permutex2var_epi8(q0, x, q1);   // entries 0..127 by the low 7 bits
    const __m512i high = _mm512_permutex2var_epi8(q2, x, q3);  // entries 128..255
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(x), low, high);
  }
};

// Which bytes of a 64-byte block starting at byte offset o (o mod 3 = phase) belong to green and red.
constexpr uint64_t ChannelBytes(int phase, int channel) {
  uint64_t mask = 0;
  for (int j = 0; j < 64; ++j) {
    if ((phase + j) % 3 == channel) mask |= uint64_t{1} << j;
  }
  return mask;
}

}  // namespace

MV_VBMI void LookUpRowVector(uint8_t* row, int width, const ChannelTables& tables) {
  const std::size_t bytes = static_cast<std::size_t>(width) * 3;
  const VectorTable blue(tables[0]), green(tables[1]), red(tables[2]);
  const bool oneTable = tables[0] == tables[1] && tables[1] == tables[2];
  static constexpr uint64_t kGreen[3] = {ChannelBytes(0, 1), ChannelBytes(1, 1), ChannelBytes(2, 1)};
  static constexpr uint64_t kRed[3] = {ChannelBytes(0, 2), ChannelBytes(1, 2), ChannelBytes(2, 2)};
  for (std::size_t offset = 0; offset < bytes; offset += 64) {
    const std::size_t left = bytes - offset;
    const __mmask64 mask = left >= 64 ? ~__mmask64{0} : (uint64_t{1} << left) - 1;
    const __m512i x = _mm512_maskz_loadu_epi8(mask, row + offset);
    __m512i result = blue.Look(x);
    if (!oneTable) {
      const std::size_t phase = offset % 3;
      result = _mm512_mask_blend_epi8(kGreen[phase], result, green.Look(x));
      result = _mm512_mask_blend_epi8(kRed[phase], result, red.Look(x));
    }
    _mm512_mask_storeu_epi8(row + offset, mask, result);
  }
}

MV_VBMI void GreyRowVector(uint8_t* row, int width) {
  const __m512d half = _mm512_set1_pd(0.5), millionth = _mm512_set1_pd(0.000001);
  for (int x = 0; x < width; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    const __mmask64 mask = PixelBytes(width - x);
    const Lanes lanes = SpreadIntoLanes(_mm512_maskz_loadu_epi8(mask, p));
    const __m512i sum =
        _mm512_add_epi32(_mm512_add_epi32(_mm512_mullo_epi32(lanes.blue, _mm512_set1_epi32(114470)),
                                          _mm512_mullo_epi32(lanes.green, _mm512_set1_epi32(586611))),
                         _mm512_mullo_epi32(lanes.red, _mm512_set1_epi32(298912)));
    // sum div 1000000: (sum + 0.5) / 10^6 is at least 5e-7 away from the next integer, far more than
    // the one rounding of the product.
    const __m512d low =
        _mm512_mul_pd(_mm512_add_pd(_mm512_cvtepi32_pd(_mm512_castsi512_si256(sum)), half), millionth);
    const __m512d high =
        _mm512_mul_pd(_mm512_add_pd(_mm512_cvtepi32_pd(_mm512_extracti64x4_epi64(sum, 1)), half), millionth);
    const __m512i grey =
        _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvttpd_epi32(low)), _mm512_cvttpd_epi32(high), 1);
    _mm512_mask_storeu_epi8(p, mask, _mm512_permutexvar_epi8(Load(kGreyFromLanes), grey));
  }
}

MV_VBMI void BinarizeRowVector(uint8_t* row, int width, BinarizeKey key, int threshold) {
  const __m512i limit = _mm512_set1_epi32(threshold), white = _mm512_set1_epi8(-1);
  for (int x = 0; x < width; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    const __mmask64 mask = PixelBytes(width - x);
    const Lanes lanes = SpreadIntoLanes(_mm512_maskz_loadu_epi8(mask, p));
    __m512i value;
    if (key == BinarizeKey::Sum) {
      value = _mm512_add_epi32(_mm512_add_epi32(lanes.blue, lanes.green), lanes.red);
    } else if (key == BinarizeKey::Maximum) {
      value = _mm512_max_epi32(_mm512_max_epi32(lanes.blue, lanes.green), lanes.red);
    } else {
      value = _mm512_min_epi32(_mm512_min_epi32(lanes.blue, lanes.green), lanes.red);
    }
    // One bit per white pixel, widened to its three bytes.
    const uint64_t pixelBits = _mm512_cmpge_epi32_mask(value, limit);
    const uint64_t firstBytes = _pdep_u64(pixelBits, 0x249249249249ULL);
    const __mmask64 whiteBytes = firstBytes | firstBytes << 1 | firstBytes << 2;
    _mm512_mask_storeu_epi8(p, mask, _mm512_maskz_mov_epi8(whiteBytes, white));
  }
}

MV_VBMI void ExchangeRowVector(uint8_t* row, int width) {
  for (int x = 0; x < width; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    const __mmask64 mask = PixelBytes(width - x);
    const __m512i pixels = _mm512_maskz_loadu_epi8(mask, p);
    _mm512_mask_storeu_epi8(p, mask, _mm512_permutexvar_epi8(Load(kExchange), pixels));
  }
}

}  // namespace mv
