#pragma once
// The level counts of a 24-bit image's red, green, blue and luminance channels (the luminance of
// RedLuminanceRow.h), counted over row bands on several threads (the counts do not depend on how many).

#include <array>
#include <cstdint>

#include "optionlib/option_abi.h"

namespace mv {

enum class Channel { Red = 0, Green = 1, Blue = 2, Luminance = 3 };
inline constexpr int kChannelCount = 4;

using LevelCounts = std::array<uint64_t, 256>;

struct ChannelHistograms {
  std::array<LevelCounts, kChannelCount> counts{};
  const LevelCounts& Of(Channel channel) const { return counts[static_cast<int>(channel)]; }
};

// `image` must be readable (IsReadableView). threads <= 0: one per processor.
ChannelHistograms CountChannels(const MvImageView& image, int threads = 0);

}  // namespace mv
