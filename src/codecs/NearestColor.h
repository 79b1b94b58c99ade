#pragma once
// The palette entry nearest to a colour (squared Euclidean distance in RGB, the lowest index among
// equals). The colour cube is divided into 32^3 cells; for each cell the entries that can be nearest
// to some colour in it are listed once, when the cell is first asked for, so a search looks at a
// few entries instead of all. The answer is the same as a search over the whole palette.

#include <cstdint>
#include <optional>
#include <vector>

#include "codecs/PaletteColor.h"

namespace mv {

class NearestColor {
 public:
  // `excluded` is an entry never answered (the quantizer's exact colour).
  NearestColor(std::vector<Rgb> palette, std::optional<int> excluded);

  int Find(int red, int green, int blue) {
    const int cell = ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
    if (cellStart_[cell] < 0) BuildCell(cell);
    const uint8_t* candidate = candidates_.data() + cellStart_[cell];
    const uint8_t* end = candidate + cellCount_[cell];
    int best = *candidate;
    int bestDistance = Distance(best, red, green, blue);
    for (++candidate; candidate != end; ++candidate) {
      const int d = Distance(*candidate, red, green, blue);
      if (d < bestDistance) bestDistance = d, best = *candidate;
    }
    return best;
  }

 private:
  int Distance(int entry, int red, int green, int blue) const {
    const Rgb& c = palette_[static_cast<std::size_t>(entry)];
    const int dr = red - c.red, dg = green - c.green, db = blue - c.blue;
    return dr * dr + dg * dg + db * db;
  }
  void BuildCell(int cell);

  std::vector<Rgb> palette_;
  std::optional<int> excluded_;
  std::vector<int32_t> cellStart_;
  std::vector<uint16_t> cellCount_;
  std::vector<uint8_t> candidates_;
};

}  // namespace mv
