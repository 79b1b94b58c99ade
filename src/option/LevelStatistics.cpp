#include "option/LevelStatistics.h"

#include <algorithm>
#include <cmath>

namespace mv {

LevelStatistics StatisticsOf(const LevelCounts& counts) {
  LevelStatistics s;
  double sum = 0;
  for (int level = 0; level < 256; ++level) {
    s.pixels += counts[level];
    sum += static_cast<double>(counts[level]) * level;
  }
  if (s.pixels == 0) return s;
  s.mean = sum / static_cast<double>(s.pixels);

  const uint64_t half = (s.pixels + 1) / 2;
  uint64_t seen = 0;
  double squares = 0;
  s.minimum = 255;
  for (int level = 0; level < 256; ++level) {
    if (counts[level] == 0) continue;
    s.minimum = std::min(s.minimum, level);
    s.maximum = level;
    if (seen < half && seen + counts[level] >= half) s.median = level;
    seen += counts[level];
    const double d = level - s.mean;
    squares += static_cast<double>(counts[level]) * d * d;
  }
  s.deviation = std::sqrt(squares / static_cast<double>(s.pixels));
  return s;
}

uint64_t PixelsBetween(const LevelCounts& counts, int low, int high) {
  uint64_t pixels = 0;
  for (int level = std::max(low, 0); level <= std::min(high, 255); ++level) pixels += counts[level];
  return pixels;
}

}  // namespace mv
