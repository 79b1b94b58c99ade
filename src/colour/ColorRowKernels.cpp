// The plain forms of the colour driver's row routines.

#include <algorithm>

#include "colour/ColorRowKernels.h"

namespace mv {

bool HasByteVectorKernels() {
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vbmi");
  return has;
}

void LookUpRowPlain(uint8_t* row, int width, const ChannelTables& tables) {
  for (int x = 0; x < width; ++x, row += 3) {
    row[0] = tables[0][row[0]];
    row[1] = tables[1][row[1]];
    row[2] = tables[2][row[2]];
  }
}

void GreyRowPlain(uint8_t* row, int width) {
  for (int x = 0; x < width; ++x, row += 3) {
    const int32_t sum = 114470 * row[0] + 586611 * row[1] + 298912 * row[2];
    const auto grey = static_cast<uint8_t>(sum / 1000000);
    row[0] = row[1] = row[2] = grey;
  }
}

void BinarizeRowPlain(uint8_t* row, int width, BinarizeKey key, int threshold) {
  for (int x = 0; x < width; ++x, row += 3) {
    int value;
    switch (key) {
      case BinarizeKey::Sum:
        value = row[0] + row[1] + row[2];
        break;
      case BinarizeKey::Maximum:
        value = std::max({row[0], row[1], row[2]});
        break;
      default:
        value = std::min({row[0], row[1], row[2]});
    }
    row[0] = row[1] = row[2] = value >= threshold ? 255 : 0;
  }
}

void ExchangeRowPlain(uint8_t* row, int width) {
  for (int x = 0; x < width; ++x, row += 3) {
    const uint8_t blue = row[0], green = row[1], red = row[2];
    row[0] = red;    // B' = R
    row[1] = blue;   // G' = B
    row[2] = green;  // R' = G
  }
}

}  // namespace mv
