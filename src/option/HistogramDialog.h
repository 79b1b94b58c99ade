#pragma once
// The three histogram dialogs over the level counts of an image: the plain view, the stretch or
// squeeze of a level range (its channel and operation), and the range display (its test and the
// colour painted over the pixels outside the range).

#include <optional>

#include "option/ChannelHistogram.h"

namespace mv {

enum class HistogramDialogKind { View, Stretch, Range };

// Channel selectors and tests as the commands read them: 1 red, 2 green, 3 blue; this value all
// channels (stretch) or the mean of the three (range).
inline constexpr int kAllChannels = 0;
// Stretch operations and range fills.
inline constexpr int kStretchOperation = 0;
inline constexpr int kSqueezeOperation = 1;
inline constexpr int kFillBlack = 0;
inline constexpr int kFillWhite = 1;

struct HistogramChoice {
  int low = 0;
  int high = 255;
  int selector = kAllChannels;  // the channel (stretch) or the test (range)
  int fourth = 0;               // the operation (stretch) or the fill (range)
};

// Shows the dialog until it is closed. The view answers nothing; the others the choice, or nothing
// when cancelled. A stretch of a range of one level is refused (it would divide by zero).
std::optional<HistogramChoice> AskHistogram(HistogramDialogKind kind, const ChannelHistograms& histograms);

}  // namespace mv
