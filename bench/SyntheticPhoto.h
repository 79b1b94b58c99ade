// The 4000 x 3000 picture the viewer and history benchmarks work on: gradients with noise and a
// checkerboard, so nothing compresses or reduces to a constant. The same seed every run.

#pragma once

#include <algorithm>
#include <cstdint>
#include <random>

#include "platform/Bitmap.h"

namespace mv {

constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000;

inline Bitmap SyntheticPhoto() {
  Bitmap b(kPhotoWidth, kPhotoHeight);
  std::mt19937 rng(42);
  for (int y = 0; y < kPhotoHeight; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kPhotoWidth; ++x) {
      const int noise = static_cast<int>(rng() % 13) - 6;
      row[x * 3] = static_cast<uint8_t>(std::clamp(x / 16 + noise, 0, 255));
      row[x * 3 + 1] = static_cast<uint8_t>(std::clamp(y / 12 + noise, 0, 255));
      row[x * 3 + 2] = static_cast<uint8_t>(((x / 200 + y / 200) % 2) * 200 + noise + 20);
    }
  }
  return b;
}

}  // namespace mv
