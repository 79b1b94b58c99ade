#include "option/ChannelHistogram.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "option/RedLuminanceRow.h"
#include "platform/Parallel.h"

namespace mv {

namespace {

// One band's counts of pairs of levels: green and blue (the two bytes of a pixel that are next to
// each other in memory), red and luminance. Two increments a pixel instead of four: counting is
// bound by memory accesses, and in a photograph the channels go together, so the pairs that occur
// stay few and in the cache. The channel counts are the sums of rows and columns of these tables.
// A table holds at most a band's pixels, which the image limits keep below 2^32.
struct PairCounts {
  uint32_t greenBlue[256 * 256];
  uint32_t redLuminance[256 * 256];
};

void CountRow(const uint8_t* bgr, const uint16_t* redLuminance, int width, PairCounts& counts) {
  for (int x = 0; x < width; ++x, bgr += 3) {
    ++counts.greenBlue[(unsigned{bgr[1]} << 8) | bgr[0]];
    ++counts.redLuminance[redLuminance[x]];
  }
}

void AddPairs(const uint32_t* pairs, LevelCounts& first, LevelCounts& second) {
  for (int a = 0; a < 256; ++a) {
    uint64_t row = 0;
    for (int b = 0; b < 256; ++b) {
      const uint32_t count = pairs[a * 256 + b];
      row += count;
      second[b] += count;
    }
    first[a] += row;
  }
}

}  // namespace

ChannelHistograms CountChannels(const MvImageView& image, int threads) {
  if (threads <= 0) threads = ParallelThreads();
  const auto bands = static_cast<std::size_t>(std::min(threads, image.height));
  std::vector<std::unique_ptr<PairCounts>> perBand(bands);
  for (auto& counts : perBand) counts = std::make_unique<PairCounts>();
  RunRowBands(image.height, threads, [&](int begin, int end, std::size_t worker) {
    std::vector<uint16_t> redLuminance(static_cast<std::size_t>(image.width));
    for (int y = begin; y < end; ++y) {
      const uint8_t* row = image.bgr + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.stride);
      RedLuminanceRow(row, image.width, redLuminance.data());
      CountRow(row, redLuminance.data(), image.width, *perBand[worker]);
    }
  });

  ChannelHistograms result;
  for (const auto& counts : perBand) {
    AddPairs(counts->greenBlue, result.counts[static_cast<int>(Channel::Green)],
             result.counts[static_cast<int>(Channel::Blue)]);
    AddPairs(counts->redLuminance, result.counts[static_cast<int>(Channel::Red)],
             result.counts[static_cast<int>(Channel::Luminance)]);
  }
  return result;
}

}  // namespace mv
