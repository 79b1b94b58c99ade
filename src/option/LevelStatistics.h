#pragma once
// What the histogram dialogs say about one channel's level counts.

#include <cstdint>

#include "option/ChannelHistogram.h"

namespace mv {

struct LevelStatistics {
  uint64_t pixels = 0;
  double mean = 0;
  int median = 0;        // the lower median: the smallest level with at least half the pixels at or below it
  double deviation = 0;  // the standard deviation of all the pixels (not of a sample)
  int minimum = 0;
  int maximum = 0;
};

// All zero for counts without pixels.
LevelStatistics StatisticsOf(const LevelCounts& counts);

// The pixels with a level in low ... high (none when low > high).
uint64_t PixelsBetween(const LevelCounts& counts, int low, int high);

}  // namespace mv
