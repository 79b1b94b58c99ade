#pragma once
// Line art and edge enhancement after their pass: the pass over the padded region gives E, a grey
// picture of the edge strength (two-direction edge pairs up to kernel 8, 3 x 3 Laplacians from 9).
// Line art shows E inverted, dark lines on white. Edge enhancement adds E times a coefficient to
// the original region (E inverted first for the thin-line kernel 7, which marks lines dark).

#include <cstdint>
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

enum class EdgeVariant { LineArt = 0, EdgeEnhancement = 1 };

// The kernel number of the dialog's filter choice i (0 "差分フィルタ1" … 9 "ラプラシアン３").
constexpr int32_t EdgeKernelNumber(int32_t choice) {
  return choice + 2;
}
// Kernel 7 finds thin lines; edge enhancement inverts its picture.
constexpr int32_t kThinLineKernel = 7;

struct EdgeFinish {
  EdgeVariant variant = EdgeVariant::LineArt;
  int32_t kernelNumber = 6;
  double coefficient = 1.0;         // edge enhancement: slider 2 / 10
  bool arithmeticProgress = false;  // the bitmap addition under the progress dialog
};

// The picture to draw at the region's corner; none when the bitmap addition was cancelled or failed
// (its message given).
std::optional<Bitmap> FinishEdges(Bitmap edges, const Bitmap& original, const EdgeFinish& finish,
                                  Feedback& feedback);

}  // namespace mv
