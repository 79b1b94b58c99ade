// The vector forms of the colour driver's row routines (AVX-512 with byte permutes). Rows are taken
// 64 pixels (192 bytes, three registers) at a time with whole loads and stores; the pixels past the
// last whole block go through the plain forms. Routines that mix channels spread each group of 16
// pixels into 32-bit lanes, one lane per pixel.

// GCC 12 warns about the undefined registers inside its own AVX-512 headers.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <array>
#include <cstddef>

#include "colour/ColorRowKernels.h"

#define MV_VBMI [[gnu::target("avx512f,avx512bw,avx512vbmi")]]

namespace mv {

namespace {

constexpr int kBlockPixels = 64;
constexpr __mmask64 kLowByteOfEachLane = 0x1111111111111111ULL;
using Indexes = std::array<uint8_t, 64>;

// Channel c of the 16 pixels of group g into the low bytes of 32-bit lanes, from the register pair
// that holds the group: registers 0 and 1 for groups 0 and 1, registers 1 and 2 for groups 2 and 3.
constexpr Indexes GroupLanes(int group, int c) {
  Indexes index{};
  const int base = group < 2 ? 0 : 64;
  for (int i = 0; i < 16; ++i)
    index[static_cast<std::size_t>(4 * i)] = static_cast<uint8_t>(48 * group + 3 * i + c - base);
  return index;
}
constexpr std::array<std::array<Indexes, 3>, 4> AllGroupLanes() {
  std::array<std::array<Indexes, 3>, 4> all{};
  for (int g = 0; g < 4; ++g)
    for (int c = 0; c < 3; ++c)
      all[static_cast<std::size_t>(g)][static_cast<std::size_t>(c)] = GroupLanes(g, c);
  return all;
}
alignas(64) constexpr std::array<std::array<Indexes, 3>, 4> kGroupLanes = AllGroupLanes();

// Output register r from the low bytes of the lanes of groups r and r + 1: every byte of pixel p
// takes lane p mod 16 of group p / 16.
constexpr Indexes LanesToPixels(int r) {
  Indexes index{};
  for (int j = 0; j < 64; ++j) {
    const int pixel = (64 * r + j) / 3;
    index[static_cast<std::size_t>(j)] = static_cast<uint8_t>((pixel / 16 - r) * 64 + 4 * (pixel % 16));
  }
  return index;
}
alignas(64) constexpr std::array<Indexes, 3> kLanesToPixels = {LanesToPixels(0), LanesToPixels(1),
                                                               LanesToPixels(2)};

// Output register r from a register holding one byte per pixel (byte p for pixel p).
constexpr Indexes PlaneToPixels(int r) {
  Indexes index{};
  for (int j = 0; j < 64; ++j) index[static_cast<std::size_t>(j)] = static_cast<uint8_t>((64 * r + j) / 3);
  return index;
}
alignas(64) constexpr std::array<Indexes, 3> kPlaneToPixels = {PlaneToPixels(0), PlaneToPixels(1),
                                                               PlaneToPixels(2)};

// The channel exchange R' = G, G' = B, B' = R: byte p of the block takes byte p + 2 (blue), p - 1
// (green, red). Register r reads registers r - 1 .. r + 1; the index is relative to register `from`.
constexpr int ExchangeSource(int p) {
  return p % 3 == 0 ? p + 2 : p - 1;
}
constexpr Indexes ExchangeIndexes(int r, int from) {
  Indexes index{};
  for (int j = 0; j < 64; ++j) {
    index[static_cast<std::size_t>(j)] = static_cast<uint8_t>((ExchangeSource(64 * r + j) - 64 * from) & 127);
  }
  return index;
}
alignas(64) constexpr std::array<Indexes, 4> kExchange = {ExchangeIndexes(0, 0), ExchangeIndexes(1, 0),
                                                          ExchangeIndexes(1, 1), ExchangeIndexes(2, 1)};
// Bytes of register 1 whose source lies in register 2 (those of blue pixels from byte 126 on).
constexpr uint64_t ExchangeFromThird() {
  uint64_t mask = 0;
  for (int j = 0; j < 64; ++j) {
    if (ExchangeSource(64 + j) >= 128) mask |= uint64_t{1} << j;
  }
  return mask;
}

MV_VBMI inline __m512i Load(const Indexes& bytes) {
  return _mm512_load_si512(bytes.data());
}

struct Block {
  __m512i v[3];
  MV_VBMI explicit Block(const uint8_t* p)
      : v{_mm512_loadu_si512(p), _mm512_loadu_si512(p + 64), _mm512_loadu_si512(p + 128)} {}
  // Channel c of group g in 32-bit lanes.
  MV_VBMI __m512i Lanes(int g, int c) const {
    const __m512i& low = g < 2 ? v[0] : v[1];
    const __m512i& high = g < 2 ? v[1] : v[2];
    return _mm512_maskz_permutex2var_epi8(
        kLowByteOfEachLane, low, Load(kGroupLanes[static_cast<std::size_t>(g)][static_cast<std::size_t>(c)]),
        high);
  }
};

// Writes a block whose three channels all equal the low bytes of the four groups' lanes.
MV_VBMI inline void StoreGreyLanes(uint8_t* p, const __m512i (&groups)[4]) {
  for (int r = 0; r < 3; ++r) {
    const __m512i pixels =
        _mm512_permutex2var_epi8(groups[r], Load(kLanesToPixels[static_cast<std::size_t>(r)]), groups[r + 1]);
    _mm512_storeu_si512(p + 64 * r, pixels);
  }
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

// Which bytes of a 64-byte register starting at byte offset o (o mod 3 = phase) belong to channel c.
constexpr uint64_t ChannelBytes(int phase, int channel) {
  uint64_t mask = 0;
  for (int j = 0; j < 64; ++j) {
    if ((phase + j) % 3 == channel) mask |= uint64_t{1} << j;
  }
  return mask;
}

}  // namespace

MV_VBMI void LookUpRowVector(uint8_t* row, int width, const ChannelTables& tables) {
  const VectorTable blue(tables[0]), green(tables[1]), red(tables[2]);
  const bool oneTable = tables[0] == tables[1] && tables[1] == tables[2];
  static constexpr uint64_t kGreen[3] = {ChannelBytes(0, 1), ChannelBytes(1, 1), ChannelBytes(2, 1)};
  static constexpr uint64_t kRed[3] = {ChannelBytes(0, 2), ChannelBytes(1, 2), ChannelBytes(2, 2)};
  const int whole = width - width % kBlockPixels;
  for (int x = 0; x < whole; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    for (int r = 0; r < 3; ++r) {
      const __m512i bytes = _mm512_loadu_si512(p + 64 * r);
      __m512i result = blue.Look(bytes);
      if (!oneTable) {
        // A block starts at a pixel, so register r starts at byte phase r (64 = 1 mod 3).
        result = _mm512_mask_blend_epi8(kGreen[r], result, green.Look(bytes));
        result = _mm512_mask_blend_epi8(kRed[r], result, red.Look(bytes));
      }
      _mm512_storeu_si512(p + 64 * r, result);
    }
  }
  LookUpRowPlain(row + 3 * whole, width - whole, tables);
}

MV_VBMI void GreyRowVector(uint8_t* row, int width) {
  const __m512 half = _mm512_set1_ps(0.5f), divisor = _mm512_set1_ps(15625.0f);
  const __m512i blueWeight = _mm512_set1_epi32(114470), greenWeight = _mm512_set1_epi32(586611),
                redWeight = _mm512_set1_epi32(298912);
  const int whole = width - width % kBlockPixels;
  for (int x = 0; x < whole; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    const Block block(p);
    __m512i grey[4];
    for (int g = 0; g < 4; ++g) {
      const __m512i sum =
          _mm512_add_epi32(_mm512_add_epi32(_mm512_mullo_epi32(block.Lanes(g, 0), blueWeight),
                                            _mm512_mullo_epi32(block.Lanes(g, 1), greenWeight)),
                           _mm512_mullo_epi32(block.Lanes(g, 2), redWeight));
      // sum div 10^6 = (sum div 64) div 15625. With t = sum div 64 (below 2^22, exact in a float),
      // (t + 0.5) / 15625 lies at least 3.2e-5 from an integer and its one rounding moves it by at
      // most 1.6e-5, so truncation gives the quotient.
      const __m512 t = _mm512_add_ps(_mm512_cvtepi32_ps(_mm512_srli_epi32(sum, 6)), half);
      grey[g] = _mm512_cvttps_epi32(_mm512_div_ps(t, divisor));
    }
    StoreGreyLanes(p, grey);
  }
  GreyRowPlain(row + 3 * whole, width - whole);
}

MV_VBMI void BinarizeRowVector(uint8_t* row, int width, BinarizeKey key, int threshold) {
  const __m512i limit = _mm512_set1_epi32(threshold), white = _mm512_set1_epi8(-1);
  const int whole = width - width % kBlockPixels;
  for (int x = 0; x < whole; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    const Block block(p);
    uint64_t whitePixels = 0;
    for (int g = 0; g < 4; ++g) {
      const __m512i b = block.Lanes(g, 0), gr = block.Lanes(g, 1), r = block.Lanes(g, 2);
      __m512i value;
      if (key == BinarizeKey::Sum) {
        value = _mm512_add_epi32(_mm512_add_epi32(b, gr), r);
      } else if (key == BinarizeKey::Maximum) {
        value = _mm512_max_epi32(_mm512_max_epi32(b, gr), r);
      } else {
        value = _mm512_min_epi32(_mm512_min_epi32(b, gr), r);
      }
      whitePixels |= uint64_t{_mm512_cmpge_epi32_mask(value, limit)} << (16 * g);
    }
    const __m512i plane = _mm512_maskz_mov_epi8(whitePixels, white);
    for (int r = 0; r < 3; ++r) {
      _mm512_storeu_si512(p + 64 * r,
                          _mm512_permutexvar_epi8(Load(kPlaneToPixels[static_cast<std::size_t>(r)]), plane));
    }
  }
  BinarizeRowPlain(row + 3 * whole, width - whole, key, threshold);
}

MV_VBMI void ExchangeRowVector(uint8_t* row, int width) {
  static constexpr uint64_t kFromThird = ExchangeFromThird();
  const int whole = width - width % kBlockPixels;
  for (int x = 0; x < whole; x += kBlockPixels) {
    uint8_t* p = row + 3 * x;
    const Block block(p);
    const __m512i first = _mm512_permutex2var_epi8(block.v[0], Load(kExchange[0]), block.v[1]);
    __m512i second = _mm512_permutex2var_epi8(block.v[0], Load(kExchange[1]), block.v[1]);
    second = _mm512_mask_permutexvar_epi8(second, kFromThird, Load(kExchange[2]), block.v[2]);
    const __m512i third = _mm512_permutex2var_epi8(block.v[1], Load(kExchange[3]), block.v[2]);
    _mm512_storeu_si512(p, first);
    _mm512_storeu_si512(p + 64, second);
    _mm512_storeu_si512(p + 128, third);
  }
  ExchangeRowPlain(row + 3 * whole, width - whole);
}

}  // namespace mv
