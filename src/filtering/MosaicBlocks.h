#pragma once
// The block engine of the mosaic: square blocks of `blockSize` pixels tile the bitmap from its
// top-left corner (the last ones in a row or column cut off by the edge), and a filter repaints each
// block through a window of references to its pixels.
//
// The window of the block whose top-left pixel is (bx, by) has blockSize * blockSize elements:
// element j * blockSize + k refers to pixel (bx + k, by + j), or is empty (null) where that pixel lies
// outside the bitmap. The filter's Apply gets it with an all-zero kernel of as many weights, divisor
// 0 and parameter 0, and the colour it returns is written into pixel (bx, by).

#include <cstdint>
#include <optional>
#include <string>

#include "filtering/ColorFilter.h"
#include "platform/Bitmap.h"
#include "platform/Feedback.h"

namespace mv {

struct BlockSettings {
  int32_t blockSize = 10;
  std::string name;  // "モザイク": the progress caption and the completion message (none when empty)
  bool showProgress = false;  // the progress dialog, one step per row of blocks (its maximum is the height)
  int threads = 0;            // for a filter that only repaints its own block (0: one per processor)
};

// The repainted picture (24-bit), or none when the progress dialog was cancelled
// ("キャンセルしました") or the run failed ("失敗:" and the error's text; a block size below 1 is
// a range error). The hourglass is shown while it runs.
std::optional<Bitmap> MosaicBlocks(Bitmap bitmap, const TColorFilter& filter, const BlockSettings& settings,
                                   Feedback& feedback);

}  // namespace mv
