// TMedianFilter on 3 x 3 windows, sixteen pixels at a time: the nine brightness values of each
// window go through a sorting network in vector lanes, the rank's value is taken, and the first
// window element (in window order) with that brightness gives the output pixel.

#include <array>
#include <cstring>
#include <vector>

#include "filtering/FastRows.h"

namespace mv {

namespace {

constexpr int kLanes = 16;
typedef int16_t Lanes __attribute__((vector_size(2 * kLanes)));

// For kLanes windows starting at column x: the index (0..8) of the chosen window element.
__attribute__((target_clones("avx2", "default"))) void ChooseElements(const int16_t* const* brightness,
                                                                      int count, int rank, uint8_t* chosen) {
  for (int x = 0; x < count; x += kLanes) {
    std::array<Lanes, 9> values, sorted;
    for (int i = 0; i < 9; ++i) {
      std::memcpy(&values[static_cast<std::size_t>(i)], brightness[i / 3] + x + i % 3, sizeof(Lanes));
    }
    sorted = values;
    // Odd-even transposition: nine rounds sort nine values.
    for (int round = 0; round < 9; ++round) {
      for (int i = round % 2; i + 1 < 9; i += 2) {
        const Lanes a = sorted[static_cast<std::size_t>(i)], b = sorted[static_cast<std::size_t>(i + 1)];
        sorted[static_cast<std::size_t>(i)] = a < b ? a : b;
        sorted[static_cast<std::size_t>(i + 1)] = a < b ? b : a;
      }
    }
    const Lanes wanted = sorted[static_cast<std::size_t>(rank)];
    Lanes index = Lanes{} + static_cast<int16_t>(8);
    for (int i = 7; i >= 0; --i)
      index = values[static_cast<std::size_t>(i)] == wanted ? Lanes{} + static_cast<int16_t>(i) : index;
    for (int lane = 0; lane < kLanes; ++lane) chosen[x + lane] = static_cast<uint8_t>(index[lane]);
  }
}

void Brightness(const uint8_t* row, int width, int16_t* out) {
  for (int x = 0; x < width; ++x) out[x] = static_cast<int16_t>(row[3 * x] + row[3 * x + 1] + row[3 * x + 2]);
}

}  // namespace

RowProducer MedianRows(const PassContext& pass, int rank) {
  return [&pass, rank](int begin, int end, const std::function<bool(int)>& rowDone) {
    const int width = pass.source.Width();
    const int outWidth = pass.output.Width();
    const int blocks = (outWidth + kLanes - 1) / kLanes * kLanes;
    // Room for the last block's reads past the row end (those lanes are not used).
    std::vector<std::vector<int16_t>> rows(
        3, std::vector<int16_t>(static_cast<std::size_t>(blocks + 2 + kLanes), 0));
    std::vector<uint8_t> chosen(static_cast<std::size_t>(blocks));
    for (int y = begin; y < end; ++y) {
      const int16_t* brightness[3];
      for (int i = 0; i < 3; ++i) {
        Brightness(pass.source.Row(y + i), width, rows[static_cast<std::size_t>(i)].data());
        brightness[i] = rows[static_cast<std::size_t>(i)].data();
      }
      ChooseElements(brightness, outWidth, rank, chosen.data());
      Pixel* out = reinterpret_cast<Pixel*>(pass.output.Row(y));
      for (int x = 0; x < outWidth; ++x) {
        const int k = chosen[static_cast<std::size_t>(x)];
        out[x] = *pass.SourcePixel(x + k % 3, y + k / 3);
      }
      if (!rowDone(y)) return;
    }
  };
}

}  // namespace mv
